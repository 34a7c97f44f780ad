# varno_library(NAME [DEPENDS lib...]): the library of one code folder, from the
# .cpp files directly in it. Headers are included from the source root, by folder.
function(varno_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()
