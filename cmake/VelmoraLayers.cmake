# One static library per folder of the add-in, each declaring the layers it
# builds on. A folder's headers are reachable as "<folder>/<file>.h" only
# from the folder itself and from the libraries that link it: each library's
# include root is a directory of its own in the build tree holding one link,
# <folder> -> the source folder, so an include that points up a layer (or
# sideways to a layer not declared) finds no file and fails to compile.
#
#   velmora_layer(<target> <folder> SOURCES ... [DEPENDS <targets>...])
function(velmora_layer target folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
endfunction()
