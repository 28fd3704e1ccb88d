# Shared build settings and helpers for every target of the project.

add_library(tessel_options INTERFACE)
target_compile_options(tessel_options INTERFACE -Wall -Wextra -Wpedantic)
if(TESSEL_WERROR)
  target_compile_options(tessel_options INTERFACE -Werror)
endif()
if(WIN32)
  target_compile_definitions(tessel_options INTERFACE
    UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00 WINVER=0x0A00)
elseif(TESSEL_FUZZ)
  # Everything the fuzz targets link is instrumented for libFuzzer's coverage feedback.
  target_compile_options(tessel_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tessel_options INTERFACE -fsanitize=address,undefined)
elseif(TESSEL_SANITIZE)
  target_compile_options(tessel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tessel_options INTERFACE -fsanitize=address,undefined)
endif()

# The manifest's resource scripts are written only when their text changes (a configure
# then relinks nothing); the manifest itself is a dependency of each.
set(TESSEL_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/app.manifest)

# tessel_add_program(name ICON_RC file.rc SOURCES ...)
# A windowed Windows program with the common manifest (comctl32 v6, per-monitor DPI aware).
function(tessel_add_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS;RESOURCES" ${ARGN})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_manifest.rc)
  file(CONFIGURE OUTPUT ${rc} CONTENT "#include <winuser.h>\n1 RT_MANIFEST \"${TESSEL_MANIFEST}\"\n")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TESSEL_MANIFEST})
  add_executable(${name} WIN32 ${P_SOURCES} ${P_RESOURCES} ${rc})
  target_link_libraries(${name} PRIVATE tessel_options ${P_LIBS})
  target_link_options(${name} PRIVATE -municode)
  # The shipped programs carry no debug information: Wine maps every section of the
  # image into private memory, so DWARF would cost each running player megabytes.
  # (Test programs keep theirs, for readable backtraces.)
  target_link_options(${name} PRIVATE -s)
endfunction()

# tessel_add_test(name SOURCES ... [LIBS ...] [WIN32_ONLY] [WINDOWED] [TIMEOUT s] [LABELS ...])
# A GoogleTest program. Natively each test case is registered with ctest; under
# Wine the whole program runs as one ctest entry, which saves a Wine start per case.
function(tessel_add_test name)
  cmake_parse_arguments(T "WIN32_ONLY;WINDOWED" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_WIN32_ONLY AND NOT WIN32)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tessel_options ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(WIN32)
    if(T_WINDOWED)
      set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_manifest.rc)
      file(CONFIGURE OUTPUT ${rc} CONTENT "#include <winuser.h>\n1 RT_MANIFEST \"${TESSEL_MANIFEST}\"\n")
      set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TESSEL_MANIFEST})
      target_sources(${name} PRIVATE ${rc})
    endif()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/crash_exit_guard.cpp
      ${PROJECT_SOURCE_DIR}/tests/support/crash_exit_win32.cpp)
    target_link_libraries(${name} PRIVATE tessel_common gdi32 user32 comctl32 comdlg32 shell32 winmm ole32 uuid)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "wine;${T_LABELS}")
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "native;${T_LABELS}")
  endif()
endfunction()
