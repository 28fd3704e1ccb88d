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
  ${CMAKE_CURRENT_LIST_DIR}/playback/transport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback/media_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin/skin_paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windows/add_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel/panel_logic.cpp)
target_include_directories(tessel_player_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessel_player_core PUBLIC tessel_common tessel_listfile tessel_media_device tessel_skin_logic
  PRIVATE tessel_options)

if(WIN32)
  # The body window's command-button faces, drawn by the skin generator, go into the
  # program as bitmap resources (a test program may add the same script).
  set(TESSEL_PLAYER_BUTTON_DIR ${CMAKE_BINARY_DIR}/assets/buttons)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/player_buttons.rc.in
    ${CMAKE_CURRENT_BINARY_DIR}/player_buttons.rc @ONLY)
  set(TESSEL_PLAYER_BUTTONS_RC ${CMAKE_CURRENT_BINARY_DIR}/player_buttons.rc
    CACHE INTERNAL "Resource script of the body window's button faces")
  set_source_files_properties(${TESSEL_PLAYER_BUTTONS_RC} PROPERTIES OBJECT_DEPENDS
    "${TESSEL_PLAYER_BUTTON_DIR}/cmd_info.bmp")

  # The windows, start-up and shutdown: Win32 only, tested under Wine.
  add_library(tessel_player_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/shared/window_base.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shared/control_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/PlayerForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/SkinForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/drop_fs_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel/MenuForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel/clipboard_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin/transparency_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin/Modify.cpp
    ${CMAKE_CURRENT_LIST_DIR}/playback/video_window_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup/Initialize.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup/CloseOperation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup/stored_names_win32.cpp)
  target_link_libraries(tessel_player_win PUBLIC tessel_player_core tessel_skin_win32 comdlg32 comctl32 shell32 gdi32 user32
    PRIVATE tessel_options)

  if(TARGET tessel_mmc)
    tessel_add_program(tesselplay
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup/main.cpp
      RESOURCES ${TESSEL_PLAYER_BUTTONS_RC}
      LIBS tessel_player_win tessel_mmc)
    set_target_properties(tesselplay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TESSEL_DIST_DIR})
    add_dependencies(tesselplay tessel_skins)
  endif()
endif()

if(WIN32)
  # The program folder's first-run settings and the empty favourites folder (no file
  # in it: every file there is a favourite). A build copies init.ini only when its
  # source changed, so settings saved by a run stay.
  set(tessel_first_run_settings ${TESSEL_DIST_DIR}/Setting/init.ini)
  add_custom_command(
    OUTPUT ${tessel_first_run_settings}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSEL_DIST_DIR}/Setting ${TESSEL_DIST_DIR}/fav
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/startup/init.ini ${tessel_first_run_settings}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/startup/init.ini
    COMMENT "Program folder: first-run settings and fav"
    VERBATIM)
  add_custom_target(tesselplay_folder ALL DEPENDS ${tessel_first_run_settings})
  if(TARGET tesselplay)
    add_dependencies(tesselplay tesselplay_folder)
  endif()
endif()
