# Layers the build enforces. A library compiles against an include root of its
# own that holds links to its own folder and to the folders below it, and to
# nothing else: an include that reaches up a layer names a header the compiler
# cannot find. tests/build tries one such include across every boundary.

# qm_layer_root(<target> <path>...): makes the include root of <target>; each
# path (a folder or a file of the source tree) is linked at the same place.
function(qm_layer_root target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  # A path dropped from the list must not stay visible from an earlier run.
  file(REMOVE_RECURSE ${root})
  set(linked)
  foreach(path IN LISTS ARGN)
    # A path below one already linked would be made inside the source tree.
    foreach(folder IN LISTS linked)
      cmake_path(IS_PREFIX folder ${path} NORMALIZE below)
      if(below)
        message(FATAL_ERROR "${target}: ${path} lies in ${folder}, which it already sees")
      endif()
    endforeach()
    list(APPEND linked ${path})
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# qm_layer(<target> SOURCES <folder> [EXCEPT <file>...] SEES <path>...
#          [LINKS <library>...]): a static library of the sources in <folder>
# that may include only the paths it sees, linking the libraries below it.
function(qm_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "SOURCES" "EXCEPT;SEES;LINKS")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer_SOURCES}/*.cpp)
  list(TRANSFORM layer_EXCEPT PREPEND ${CMAKE_SOURCE_DIR}/)
  list(REMOVE_ITEM sources ${layer_EXCEPT})
  add_library(${target} STATIC ${sources})
  # The window module links every layer into a shared object.
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  qm_layer_root(${target} ${layer_SEES})
  target_link_libraries(${target} PUBLIC ${layer_LINKS})
endfunction()

# qm_module(<target> <entry.cpp> <exports.map> <library>): a module the
# executable loads by name when it needs it (built beside it as <target>.so),
# exporting only the symbols of the map, every reference resolved at link time.
function(qm_module target entry exports library)
  add_library(${target}_module MODULE ${entry})
  target_link_libraries(${target}_module PRIVATE ${library})
  set_target_properties(${target}_module PROPERTIES
    PREFIX "" OUTPUT_NAME ${target}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    LINK_DEPENDS ${CMAKE_SOURCE_DIR}/${exports})
  target_link_options(${target}_module PRIVATE -Wl,--no-undefined
    -Wl,--version-script=${CMAKE_SOURCE_DIR}/${exports})
endfunction()
