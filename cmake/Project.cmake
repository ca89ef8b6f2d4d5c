# Build settings shared by every target of ours.

# Warnings are errors in our own builds (scripts/build.sh and CI turn this on); a packager's
# plain configure builds whatever a newer or older compiler thinks of the code.
option(HM_WERROR "Treat compiler warnings as errors" OFF)
set(HM_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter)
if(HM_WERROR)
  list(APPEND HM_WARNINGS -Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND HM_WARNINGS -Wshadow=local)
  # GCC 12 reports overlaps and out-of-bounds copies that cannot happen in the std::string and
  # std::vector code it inlines at -O2 and above (its bugs 105651 and 107852); the sanitizer
  # builds check the real thing at run time.
  if(CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12 AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    list(APPEND HM_WARNINGS -Wno-restrict -Wno-array-bounds -Wno-stringop-overread -Wno-stringop-overflow)
  endif()
endif()

if(HM_SANITIZE)
  # The null, alignment and pointer-overflow checks go on every pointer use and cost a third of the
  # build's time; AddressSanitizer already reports a null or stray pointer that is followed.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=null,alignment,pointer-overflow
    -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Precompiled headers: the standard, Qt and GoogleTest headers most files include are parsed once
# instead of once a file, which is a good part of each file's compile time. Targets of one kind
# (libraries without Qt, libraries on Qt, tests without Qt, tests on Qt) compile with the same
# flags, so they share the header the first of their kind builds; executables, whose code is
# position-independent in another way, build their own when they are large enough to gain.
option(HM_PCH "Precompile the common system headers" ON)
set(HM_PCH_STD
  <algorithm> <array> <chrono> <cstdint> <cstdio> <cstdlib> <cstring> <filesystem> <fstream>
  <functional> <map> <memory> <optional> <set> <sstream> <string> <string_view> <utility> <vector>)
set(HM_PCH_QT
  <QApplication> <QImage> <QPainter> <QPixmap> <QWidget> <QKeyEvent> <QMouseEvent> <QTimer>
  <QPointer> <QScreen> <QWindow> <QLineEdit>)
set(HM_PCH_TEST <gtest/gtest.h>)
set(HM_TEST_UNITY_BATCH 8 CACHE STRING "Test sources compiled together in one batch")

# hm_precompile(NAME KIND QT)
#   KIND is lib, test or exe; QT says whether the target compiles against Qt.
function(hm_precompile name kind qt)
  if(NOT HM_PCH)
    return()
  endif()
  get_target_property(sources ${name} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  list(LENGTH sources count)
  set(headers ${HM_PCH_STD})
  if(qt)
    list(APPEND headers ${HM_PCH_QT})
  endif()
  if(kind STREQUAL "test")
    list(APPEND headers ${HM_PCH_TEST})
  endif()
  if(kind STREQUAL "exe")
    if(count GREATER_EQUAL 4)
      target_precompile_headers(${name} PRIVATE ${headers})
    endif()
    return()
  endif()
  set(family hm_pch_${kind}_${qt})
  get_property(owner GLOBAL PROPERTY ${family})
  if(NOT owner)
    set_property(GLOBAL PROPERTY ${family} ${name})
    target_precompile_headers(${name} PRIVATE ${headers})
  elseif(count GREATER_EQUAL 2)
    target_precompile_headers(${name} REUSE_FROM ${owner})
  endif()
endfunction()

# hm_library(NAME [QT] SOURCES ... LIBS ...)
#   A static library of ours, with the project's include root and warnings.
function(hm_library name)
  cmake_parse_arguments(A "QT" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${HM_WARNINGS})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  hm_precompile(${name} lib "${A_QT}")
endfunction()

# hm_executable(NAME [QT] SOURCES ... LIBS ...)
function(hm_executable name)
  cmake_parse_arguments(A "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${HM_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  hm_precompile(${name} exe "${A_QT}")
endfunction()

# hm_test(NAME [QT] SOURCES ... LIBS ... [NO_UNITY file...])
#   A GoogleTest executable whose cases CTest discovers. QT tests run on the offscreen platform.
#   NO_UNITY names the sources that cannot share a compile with the others (see below).
function(hm_test name)
  cmake_parse_arguments(A "QT" "TIMEOUT" "SOURCES;LIBS;NO_UNITY" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${HM_WARNINGS})
  # Much of a test file's compile time is the same for every file (reading the headers, setting
  # up the compile), so the test sources compile in batches of several files to one compile.
  # A file that cannot share a batch, because the headers it includes clash with another file's,
  # compiles alone (NO_UNITY). GCC takes the files a batch includes for headers, and warns of a
  # type in one that uses a type from an anonymous namespace, which matters only in a real header.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${HM_TEST_UNITY_BATCH})
  if(A_NO_UNITY)
    set_source_files_properties(${A_NO_UNITY} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
  endif()
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE HM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # Test code is mostly expanded test macros: optimising it beyond -O1 costs much of the build
  # time and buys nothing, since the code under test keeps the build type's optimisation.
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-O1>)
  # Under the sanitizers the tests' own code is not optimised at all: the instrumented build of
  # the test macros is the largest part of that tree's build time.
  if(HM_SANITIZE)
    target_compile_options(${name} PRIVATE -O0)
  endif()
  # gtest_discover_tests flattens list-valued properties, so each property carries one entry.
  set(qt_env "HM_TEST=set:1")
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    set(qt_env "QT_QPA_PLATFORM=set:offscreen")
  endif()
  hm_precompile(${name} test "${A_QT}")
  # Added after the count of sources that chooses the precompiled header.
  target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/NoDataFolder.cpp)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "HM_TEST=1" ENVIRONMENT_MODIFICATION "${qt_env}" TIMEOUT ${A_TIMEOUT})
  # The filters of the program's X runs (hm_xvfb_test), beside it: a case that skips for want of
  # a real X display fails instead when none of its program's X runs takes it
  # (tests/platform/gui/RealX.h). Written at generation, once every X run is known.
  file(GENERATE OUTPUT $<TARGET_FILE:${name}>.x-runs
    CONTENT "$<JOIN:$<TARGET_PROPERTY:${name},HM_X_FILTERS>,\n>\n")
endfunction()

# hm_xvfb_test(NAME TARGET FILTER)
#   Runs the cases of a Qt test executable that need a real X display on an Xvfb server of their
#   own (scripts/with-xvfb.sh, which fails when Xvfb is missing); those cases skip on their own in
#   the offscreen run and fail here when what they need is missing (tests/platform/gui/RealX.h).
function(hm_xvfb_test name target filter)
  set_property(TARGET ${target} APPEND PROPERTY HM_X_FILTERS ${filter})
  add_test(NAME ${name}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb.sh $<TARGET_FILE:${target}> --gtest_filter=${filter})
  # The X connection loads libdbus and fontconfig, which keep caches until exit. The cases wait
  # for the X server up to a deadline each (tests/platform/gui/XWait.h): the time-out leaves room
  # for several slow waits on a loaded machine, so that a case fails with what it waited for.
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "HM_TEST=1;HM_X_RUN=1;QT_QPA_PLATFORM=xcb;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    TIMEOUT 300)
endfunction()

# hm_add_children()
#   Adds every immediate sub-folder that has a CMakeLists.txt, in name order, so that a new
#   tool, benchmark or test folder needs no edit of its parent.
function(hm_add_children)
  # CONFIGURE_DEPENDS: a folder added later (a merge, a new tool) is picked up by the next build.
  file(GLOB children CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
