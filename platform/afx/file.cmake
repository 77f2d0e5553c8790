list(APPEND VORLA_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_exception.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_image.cpp
)
