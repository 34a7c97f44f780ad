#include "tools/RootRequest.h"

#include <cstring>

namespace {

// Field by field, in host byte order, at the offsets the tool reads them from.
template <typename Field>
void Put(RootRequestBytes& bytes, std::size_t& offset, const Field& field)
{
    std::memcpy(bytes.data() + offset, &field, sizeof field);
    offset += sizeof field;
}

template <typename Field>
void Take(const RootRequestBytes& bytes, std::size_t& offset, Field& field)
{
    std::memcpy(&field, bytes.data() + offset, sizeof field);
    offset += sizeof field;
}

} // namespace

RootRequestBytes EncodeRootRequest(const RootRequest& request)
{
    RootRequestBytes bytes{};
    std::size_t offset = 0;
    Put(bytes, offset, request.magic);
    Put(bytes, offset, request.version);
    Put(bytes, offset, request.selector);
    Put(bytes, offset, request.action.uid);
    Put(bytes, offset, request.action.gid);
    Put(bytes, offset, request.action.value);
    Put(bytes, offset, request.action.mask);
    Put(bytes, offset, request.path);
    Put(bytes, offset, request.secondPath);
    return bytes;
}

RootRequest DecodeRootRequest(const RootRequestBytes& bytes)
{
    RootRequest request{};
    std::size_t offset = 0;
    Take(bytes, offset, request.magic);
    Take(bytes, offset, request.version);
    Take(bytes, offset, request.selector);
    Take(bytes, offset, request.action.uid);
    Take(bytes, offset, request.action.gid);
    Take(bytes, offset, request.action.value);
    Take(bytes, offset, request.action.mask);
    Take(bytes, offset, request.path);
    Take(bytes, offset, request.secondPath);
    return request;
}
