# The Windows side: the shell, the platform calls, the picture window, the
# executable and the tests that run under Wine.
find_package(JPEG REQUIRED)

# The exercise picture, compiled into the picture window's definition.
set(picture_source ${CMAKE_BINARY_DIR}/generated/exercise_picture.cpp)
add_custom_command(
  OUTPUT ${picture_source}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_SOURCE_DIR}/assets/exercise.jpg
          -DOUTPUT=${picture_source} -DSYMBOL=kExercisePicture -DNAMESPACE=br
          -P ${CMAKE_SOURCE_DIR}/cmake/embed.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/assets/exercise.jpg ${CMAKE_SOURCE_DIR}/cmake/embed.cmake
  COMMENT "Embedding the exercise picture")

add_library(shell STATIC
  app/shell.cpp
  app/program_window.cpp
  app/window_builder.cpp
  app/window_classes.cpp
  platform/text_codec.cpp
  platform/message_box.cpp
  platform/win32_gui.cpp
  platform/win32_timer.cpp
  platform/win32_power.cpp
  picture_window/picture_window_definition.cpp
  picture_window/jpeg_image.cpp
  picture_window/picture_painter_win.cpp
  ${picture_source}
)
target_compile_definitions(shell PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(shell PUBLIC logic JPEG::JPEG user32 gdi32)

# Statically linked: the program needs no MinGW DLL beside it. ASLR and DEP on.
# The stack holds a week of unanswered picture-mode reminders, each nested in
# the modal loop of the one before (1008 at the shortest interval, about 2 KB
# each), with a fourfold margin.
set(br_link_options -static -s -Wl,--dynamicbase,--nxcompat -Wl,--stack,8388608)

add_executable(break-reminder WIN32 app/main.cpp app/no_exceptions.cpp assets/resources.rc)
target_link_libraries(break-reminder PRIVATE shell)
target_link_options(break-reminder PRIVATE ${br_link_options})
set_source_files_properties(assets/resources.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/assets/app.manifest;${CMAKE_SOURCE_DIR}/assets/app.ico;${CMAKE_SOURCE_DIR}/assets/version.h")

if(NOT BR_TESTS)
  return()
endif()

# Checks of the built executable and its assets, run natively.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(br_arch i686)
else()
  set(br_arch x86_64)
endif()
add_test(NAME check_executable
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/scripts/check_executable.py
          $<TARGET_FILE:break-reminder> ${br_arch})
add_test(NAME check_assets COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/check_assets.sh)
set_tests_properties(check_executable check_assets PROPERTIES LABELS static)

# Tests that run Windows code under Wine. They are built everywhere, but
# registered only where Wine can run this build's code. They share one desktop
# and its keyboard focus, so they run one at a time.
option(BR_WINE_TESTS "Register the tests that run under Wine" ON)
add_subdirectory(tests/win32)
add_subdirectory(tests/e2e)
# The benchmark's baseline program and measuring driver (scripts/benchmark.sh).
add_subdirectory(tests/benchmark)
