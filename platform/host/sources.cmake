list(APPEND VORLA_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/headless.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sharp_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shown_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/video_drivers.cpp
)
list(APPEND VORLA_PLATFORM_SDL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sdl_host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_presenter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl_offscreen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keymap.cpp
)
