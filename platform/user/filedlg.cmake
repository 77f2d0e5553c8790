list(APPEND VORLA_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/filedlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filedlg_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filedlg_logic.cpp
)
