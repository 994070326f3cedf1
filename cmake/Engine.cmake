# The evaluation engine (eval/) with the debug log (diag/), as a static library.
# It is built twice from the same sources: once as delivered and once with the
# trace switched on, because DEBUG_LOG is decided at compile time.
set(LUMOCALC_ENGINE_SOURCES
    eval/arithmetic.cpp
    eval/calculate.cpp
    eval/decimal_digits.cpp
    eval/eval.cpp
    eval/format_grouped.cpp
    eval/format_number.cpp
    eval/oper.cpp
    eval/parse_number.cpp
    eval/radix_number.cpp
    eval/solv.cpp
    eval/text.cpp)
if(WIN32)
  list(APPEND LUMOCALC_ENGINE_SOURCES diag/debug_log_win32.cpp)
else()
  list(APPEND LUMOCALC_ENGINE_SOURCES diag/debug_log_posix.cpp)
endif()
list(TRANSFORM LUMOCALC_ENGINE_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/")

function(lumocalc_add_engine name debug_log)
  add_library(${name} STATIC ${LUMOCALC_ENGINE_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(debug_log)
    target_compile_definitions(${name} PUBLIC DEBUG_LOG=1)
  else()
    target_compile_definitions(${name} PUBLIC DEBUG_LOG=0)
  endif()
endfunction()
