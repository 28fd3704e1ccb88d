# The player's own libraries and the program tesselplay.
#
# tessel_player_core: the portable part (controls, settings file, command-line rules,
# play queue engine, skin paths); no platform headers, built natively for the tests too.
add_library(tessel_player_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/shared/controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback/engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback/polling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin/skin_paths.cpp)
target_include_directories(tessel_player_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessel_player_core PUBLIC tessel_common tessel_listfile tessel_media_device
  PRIVATE tessel_options)

if(WIN32)
  # The windows, start-up and shutdown: Win32 only, tested under Wine.
  add_library(tessel_player_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/shared/window_base.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shared/control_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/PlayerForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/SkinForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel/MenuForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup/Initialize.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup/CloseOperation.cpp)
  target_link_libraries(tessel_player_win PUBLIC tessel_player_core comctl32 shell32 gdi32 user32
    PRIVATE tessel_options)

  if(TARGET tessel_mmc)
    tessel_add_program(tesselplay
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup/main.cpp
      LIBS tessel_player_win tessel_mmc)
    set_target_properties(tesselplay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TESSEL_DIST_DIR})
  endif()
endif()
