# tunara_library(<name> SOURCES <files...> [LINKS <targets...>])
#
# One folder of src/ as one static library. Its headers are reached as
# "<folder>/<file>.h" through an include root that holds only this folder,
# so code can include a folder's headers only when its target links that
# folder's library: a layer that reaches upwards fails to compile.
function(tunara_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  if(L_SOURCES)
    add_library(${name} STATIC ${L_SOURCES})
    target_include_directories(${name} PUBLIC ${root})
    target_link_libraries(${name} PUBLIC ${L_LINKS})
  else()
    # Headers only: an interface library carries the include root.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${root})
    target_link_libraries(${name} INTERFACE ${L_LINKS})
  endif()
endfunction()
