# Helpers that give every library and test the project's warnings, sanitizers and layering rule.

add_library(orvane_warnings INTERFACE)
target_compile_options(orvane_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast
  $<$<BOOL:${ORVANE_WERROR}>:-Werror>
  $<$<BOOL:${ORVANE_SANITIZE}>:-fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer>
  # Coverage for libFuzzer in every library; a sanitizer finding or a failed library assertion
  # ends the run, so libFuzzer keeps the input that caused it.
  $<$<BOOL:${ORVANE_FUZZ}>:-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer -O1 -D_GLIBCXX_ASSERTIONS>
  # Release: each function in its own section, so that the link drops what nothing calls.
  $<$<CONFIG:Release>:-ffunction-sections -fdata-sections>)
target_link_options(orvane_warnings INTERFACE
  $<$<CONFIG:Release>:-Wl,--gc-sections>
  $<$<BOOL:${ORVANE_SANITIZE}>:-fsanitize=address,undefined>
  $<$<BOOL:${ORVANE_FUZZ}>:-fsanitize=address,undefined>)

set_property(GLOBAL PROPERTY ORVANE_MODEL_TARGETS "")

# A Release build optimises the program's own code for size (-Os). A running program holds nearly
# every page of its code (the kernel maps the pages around each one it touches), so a smaller
# program is a smaller process; at -O3 the code was 1.8 MB, at -Os 0.9 MB. The loops with speed
# targets (loading, saving, searching, planning) stay inside them at -Os: the benchmark says so.
function(orvane_release_optimisation name)
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release>:-Os>)
endfunction()

# orvane_model_library(<name> SOURCES ... [DEPENDS model libs...])
# A model library is plain C++: linking anything from Qt is refused at configure time.
function(orvane_model_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE orvane_warnings)
  orvane_release_optimisation(${name})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  set_property(GLOBAL APPEND PROPERTY ORVANE_MODEL_TARGETS ${name})
endfunction()

# orvane_ui_library(<name> SOURCES ... [DEPENDS libs...])
function(orvane_ui_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} Qt6::Widgets PRIVATE orvane_warnings)
  orvane_release_optimisation(${name})
endfunction()

# orvane_gtest(<name> SOURCES ... DEPENDS ...): a GoogleTest executable run by ctest.
function(orvane_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main
    orvane_warnings)
  target_compile_definitions(${name} PRIVATE
    ORVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data")
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# orvane_qtest(<name> SOURCES ... DEPENDS ...): a Qt Test executable, run headless.
function(orvane_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} Qt6::Test Qt6::Widgets orvane_warnings)
  target_compile_definitions(${name} PRIVATE
    ORVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Walks every model library's link closure and stops the configure step if Qt appears in it.
function(_orvane_collect_links target out_var)
  set(seen ${${out_var}})
  get_target_property(links ${target} LINK_LIBRARIES)
  get_target_property(ilinks ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS links ilinks)
    if(lib AND NOT lib IN_LIST seen AND NOT lib MATCHES "NOTFOUND")
      list(APPEND seen ${lib})
      if(TARGET ${lib})
        _orvane_collect_links(${lib} seen)
      endif()
    endif()
  endforeach()
  set(${out_var} ${seen} PARENT_SCOPE)
endfunction()

function(orvane_check_model_targets)
  get_property(models GLOBAL PROPERTY ORVANE_MODEL_TARGETS)
  foreach(model IN LISTS models)
    set(closure "")
    _orvane_collect_links(${model} closure)
    foreach(lib IN LISTS closure)
      if(lib MATCHES "Qt")
        message(FATAL_ERROR "Model library ${model} must not link ${lib}: the model is plain C++.")
      endif()
    endforeach()
  endforeach()
endfunction()
