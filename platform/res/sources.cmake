# The files of res/ become byte arrays in a generated source, rebuilt when res/ changes.
add_executable(vorla_embed_resources ${CMAKE_CURRENT_LIST_DIR}/embed_resources.cpp)
file(GLOB VORLA_RES_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*)
list(SORT VORLA_RES_FILES)
set(VORLA_RES_GENERATED ${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${VORLA_RES_GENERATED}
  COMMAND vorla_embed_resources ${VORLA_RES_GENERATED} ${VORLA_RES_FILES}
  DEPENDS vorla_embed_resources ${VORLA_RES_FILES}
  COMMENT "Embedding res/"
  VERBATIM)
list(APPEND VORLA_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/resources.cpp
  ${VORLA_RES_GENERATED}
)
