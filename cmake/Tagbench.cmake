# Build helpers shared by every folder.
if(WIN32)
  set(TB_TREE windows)
else()
  set(TB_TREE native)
endif()
set(TB_PORTABLE_TARGETS "" CACHE INTERNAL "")

# Warnings for our own targets (not for third-party code).
function(tb_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor)
  if(TB_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(WIN32)
    # Unicode windows; keep windows.h lean and free of min/max macros.
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# A library of portable code: no Win32, built in both trees. Configuring fails
# if one of its sources includes windows.h, so the boundary cannot erode.
function(tb_portable_library name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;DEPS")
  foreach(src IN LISTS ARG_SOURCES)
    file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${src} text)
    if(text MATCHES "#[ \t]*include[ \t]*<(windows|winbase|winuser|wingdi)\\.h>")
      message(FATAL_ERROR "${name}: portable source ${src} includes a Win32 header")
    endif()
  endforeach()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  tb_defaults(${name})
  set(TB_PORTABLE_TARGETS ${TB_PORTABLE_TARGETS} ${name} CACHE INTERNAL "")
endfunction()

# A GoogleTest program registered with ctest as one test. In the Windows tree
# ctest runs it through CMAKE_CROSSCOMPILING_EMULATOR (tools/wine-run).
function(tb_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TIMEOUT" "SOURCES;LIBS")
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  tb_defaults(${name})
  add_test(NAME ${TB_TREE}.${name} COMMAND ${name})
  # Skinned windows under Wine, eight test programs at once: the slowest take
  # about 200 s on a busy machine against about 60 s alone.
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  # A test program that ends early with exit code 0 (its output cut off) must
  # not count as passed: require GoogleTest's closing line and no failure.
  set_tests_properties(${TB_TREE}.${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                       PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                       FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  tb_own_prefix(${TB_TREE}.${name} ${name})
endfunction()

# Under Wine each test program runs in a prefix of its own (tools/wine-run),
# so that a wineserver that ends, or is slowed down, takes one test with it
# and not every test running at that moment.
function(tb_own_prefix test name)
  if(WIN32)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION TB_PREFIX_NAME=set:${name})
  endif()
endfunction()

# Without a window manager Wine waits two seconds for every top-level window
# that is hidden, unless the program's windows are unmanaged. Wine reads the
# setting when the program starts: a fixture writes it into the test's prefix.
function(tb_unmanaged_windows name)
  add_test(NAME ${TB_TREE}.${name}_unmanaged
           COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} reg add
                   "HKCU\\Software\\Wine\\AppDefaults\\${name}.exe\\X11 Driver" /v Managed /d N /f)
  set_tests_properties(${TB_TREE}.${name}_unmanaged PROPERTIES FIXTURES_SETUP ${name}_unmanaged)
  tb_own_prefix(${TB_TREE}.${name}_unmanaged ${name})
  set_property(TEST ${TB_TREE}.${name} APPEND PROPERTY FIXTURES_REQUIRED ${name}_unmanaged)
endfunction()

# A GoogleTest program that tests window frames (Windows tree only): it runs
# through tools/wine-desktop-run inside a Wine virtual desktop of its own, the
# only place Wine shows non-client painting. With TB_HEAP_CHECK=1 (or =full)
# in the test's environment Wine checks the heap, and what it reports fails
# the test.
function(tb_desktop_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TIMEOUT" "SOURCES;LIBS")
  if(NOT WIN32)
    message(FATAL_ERROR "${name}: desktop tests exist in the Windows tree only")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  tb_defaults(${name})
  add_test(NAME ${TB_TREE}.${name} COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-desktop-run $<TARGET_FILE:${name}>)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${TB_TREE}.${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                       PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                       FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\];err:heap;warn:heap")
  tb_own_prefix(${TB_TREE}.${name} ${name})
endfunction()

# A libFuzzer target over portable code. Built only in the fuzzing tree
# (clang, -DTB_FUZZ=ON; see tools/fuzz); its seed corpus is
# tests/fuzz/corpus/<name>/.
function(tb_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBS")
  if(NOT TB_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  tb_defaults(${name})
  set_property(GLOBAL APPEND PROPERTY TB_FUZZ_TARGETS ${name})
endfunction()

# Adds every folder below the current one that has a CMakeLists.txt (tests,
# tools and benchmarks are picked up by presence; each says what each tree builds).
function(tb_add_child_folders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
