# The files of res/ become byte arrays in a generated source, rebuilt when res/ changes.
# The embedder runs during the build: in a cross build it is a project of its own, built
# with the build machine's compiler.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(VORLA_EMBEDDER ${CMAKE_CURRENT_BINARY_DIR}/embedder/vorla_embed_resources)
  ExternalProject_Add(vorla_embedder
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/embedder
    BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/embedder
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${VORLA_EMBEDDER})
  set(VORLA_EMBEDDER_TARGET vorla_embedder)
else()
  add_executable(vorla_embed_resources ${CMAKE_CURRENT_LIST_DIR}/embed_resources.cpp)
  set(VORLA_EMBEDDER vorla_embed_resources)
  set(VORLA_EMBEDDER_TARGET vorla_embed_resources)
endif()
file(GLOB VORLA_RES_FILES LIST_DIRECTORIES false CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/res/* ${PROJECT_SOURCE_DIR}/res/fonts/*)
list(SORT VORLA_RES_FILES)
# The resource script goes through the C preprocessor first, as resource compilers do, so
# that its ids come from res/resource.h.
set(VORLA_RC_SOURCE ${PROJECT_SOURCE_DIR}/res/vorla.rc)
set(VORLA_RC_PREPROCESSED ${CMAKE_CURRENT_BINARY_DIR}/vorla.rc)
add_custom_command(
  OUTPUT ${VORLA_RC_PREPROCESSED}
  COMMAND ${CMAKE_C_COMPILER} -E -P -x c -undef -nostdinc -I ${PROJECT_SOURCE_DIR}/res
          ${VORLA_RC_SOURCE} -o ${VORLA_RC_PREPROCESSED}
  DEPENDS ${VORLA_RC_SOURCE} ${PROJECT_SOURCE_DIR}/res/resource.h
  COMMENT "Preprocessing res/vorla.rc"
  VERBATIM)
list(REMOVE_ITEM VORLA_RES_FILES ${VORLA_RC_SOURCE})
list(APPEND VORLA_RES_FILES ${VORLA_RC_PREPROCESSED})
set(VORLA_RES_GENERATED ${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${VORLA_RES_GENERATED}
  COMMAND ${VORLA_EMBEDDER} ${VORLA_RES_GENERATED} ${VORLA_RES_FILES}
  DEPENDS ${VORLA_EMBEDDER_TARGET} ${VORLA_RES_FILES}
  COMMENT "Embedding res/"
  VERBATIM)

# The faces also go to share/vorla/fonts in the build tree, where the program looks for
# them beside its own prefix (build/app/vorla, as <prefix>/bin/vorla) and registers them
# with fontconfig.
file(GLOB VORLA_FONT_FILES LIST_DIRECTORIES false CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/fonts/*.bdf)
set(VORLA_FONT_FOLDER ${PROJECT_BINARY_DIR}/share/vorla/fonts)
set(VORLA_FONT_COPIES "")
foreach(face ${VORLA_FONT_FILES})
  get_filename_component(face_name ${face} NAME)
  add_custom_command(
    OUTPUT ${VORLA_FONT_FOLDER}/${face_name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VORLA_FONT_FOLDER}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${face} ${VORLA_FONT_FOLDER}/${face_name}
    DEPENDS ${face}
    VERBATIM)
  list(APPEND VORLA_FONT_COPIES ${VORLA_FONT_FOLDER}/${face_name})
endforeach()
add_custom_target(vorla_font_folder ALL DEPENDS ${VORLA_FONT_COPIES})
