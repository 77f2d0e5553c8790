list(APPEND VORLA_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/style_painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu_track.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu_cmdui.cpp
)
