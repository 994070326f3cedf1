# The evaluation engine (eval/) as a static library, and the debug log file
# (diag/) it writes to when the trace is compiled in. DEBUG_LOG is decided at
# compile time, so the engine is built once per setting.
set(LUMOCALC_ENGINE_SOURCES
    eval/calculate.cpp
    eval/decimal_digits.cpp
    eval/eval.cpp
    eval/format_grouped.cpp
    eval/format_number.cpp
    eval/oper.cpp
    eval/parse_number.cpp
    eval/solv.cpp)
list(TRANSFORM LUMOCALC_ENGINE_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/")

# The parts that write no trace: the arithmetic, radix texts, exact scaling by
# powers of ten and the text operations. Built once; the reference the
# engine is tested against uses them too.
add_library(lumocalc_basics STATIC
  ${PROJECT_SOURCE_DIR}/eval/arithmetic.cpp
  ${PROJECT_SOURCE_DIR}/eval/decimal_to_extended.cpp
  ${PROJECT_SOURCE_DIR}/eval/radix_number.cpp
  ${PROJECT_SOURCE_DIR}/eval/text.cpp)
target_include_directories(lumocalc_basics PUBLIC ${PROJECT_SOURCE_DIR})

if(WIN32)
  add_library(lumocalc_log STATIC ${PROJECT_SOURCE_DIR}/diag/debug_log_win32.cpp)
else()
  add_library(lumocalc_log STATIC ${PROJECT_SOURCE_DIR}/diag/debug_log_posix.cpp)
endif()
target_include_directories(lumocalc_log PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(lumocalc_log PUBLIC DEBUG_LOG=1)

# lumocalc_add_engine(name ON|OFF [WITHOUT_LOG_FILE])
# WITHOUT_LOG_FILE leaves OpenDebugLog and DebugLog to be defined by the
# program itself (a test that captures the trace in memory).
function(lumocalc_add_engine name debug_log)
  cmake_parse_arguments(ARG "WITHOUT_LOG_FILE" "" "" ${ARGN})
  add_library(${name} STATIC ${LUMOCALC_ENGINE_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC lumocalc_basics)
  if(debug_log)
    target_compile_definitions(${name} PUBLIC DEBUG_LOG=1)
    if(NOT ARG_WITHOUT_LOG_FILE)
      target_link_libraries(${name} PUBLIC lumocalc_log)
    endif()
  else()
    target_compile_definitions(${name} PUBLIC DEBUG_LOG=0)
  endif()
endfunction()
