# Writes the service worker into a built site: the worker lists every other
# file of the site with its SHA-256, and names its cache after a hash of that
# list, so that a build with any file changed is a new worker with a cache of
# its own (docs/WEB.md). Run once the site is complete:
#   cmake -DSITE=<folder> -DWORKER=<web/sw.js> -P cmake/WebCache.cmake
file(REAL_PATH ${SITE} SITE)
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM names sw.js)
list(SORT names)
set(FILES "")
foreach(name IN LISTS names)
  file(SHA256 ${SITE}/${name} sha256)
  string(APPEND FILES "\n  '${name}': '${sha256}',")
endforeach()
string(SHA256 BUILD "${FILES}")
string(APPEND FILES "\n")
configure_file(${WORKER} ${SITE}/sw.js @ONLY)
