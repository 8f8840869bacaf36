# The data package's loader carries a random UUID, which it uses only to key
# a browser cache that this build does not turn on. It is replaced by one
# derived from the data, so that the same pictures give the same loader:
#   cmake -DDATA=<zorvane.data> -DLOADER=<zorvane.data.js> -P cmake/DataUuid.cmake
file(SHA256 ${DATA} sha256)
string(UUID uuid NAMESPACE 6ba7b811-9dad-11d1-80b4-00c04fd430c8 NAME ${sha256} TYPE SHA1)
file(READ ${LOADER} loader)
string(REGEX REPLACE "\"package_uuid\": \"[-0-9a-f]+\"" "\"package_uuid\": \"${uuid}\""
  derived "${loader}")
if(derived STREQUAL loader)
  message(FATAL_ERROR "${LOADER}: no package UUID to replace")
endif()
file(WRITE ${LOADER} "${derived}")
