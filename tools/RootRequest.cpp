#include "tools/RootRequest.h"

#include <cstring>

namespace {

// The fields in the order and at the offsets the tool reads them, in host byte order.
template <typename Request, typename Visit>
void ForEachField(Request& request, Visit visit)
{
    visit(request.magic);
    visit(request.version);
    visit(request.selector);
    visit(request.action.uid);
    visit(request.action.gid);
    visit(request.action.value);
    visit(request.action.mask);
    visit(request.path);
    visit(request.secondPath);
}

} // namespace

RootRequestBytes EncodeRootRequest(const RootRequest& request)
{
    RootRequestBytes bytes{};
    std::size_t offset = 0;
    ForEachField(request, [&](const auto& field) {
        std::memcpy(bytes.data() + offset, &field, sizeof field);
        offset += sizeof field;
    });
    return bytes;
}

RootRequest DecodeRootRequest(const RootRequestBytes& bytes)
{
    RootRequest request{};
    std::size_t offset = 0;
    ForEachField(request, [&](auto& field) {
        std::memcpy(&field, bytes.data() + offset, sizeof field);
        offset += sizeof field;
    });
    return request;
}
