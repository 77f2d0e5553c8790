# The operating system's files: one implementation per system behind fs.h.
list(APPEND VORLA_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fs_posix.cpp
)
