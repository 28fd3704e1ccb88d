# The player's own libraries and the program tesselplay.
#
# tessel_player_core: the portable part (controls, settings file, command-line rules,
# play queue engine, skin paths); no platform headers, built natively for the tests too.
add_library(tessel_player_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/shared/controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback/engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin/skin_paths.cpp)
target_include_directories(tessel_player_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tessel_player_core PUBLIC tessel_common tessel_listfile tessel_media_device
  PRIVATE tessel_options)
