# The extended-precision number type of eval/extended.h: the FPU's long double
# on x86, the software format (eval/soft_extended.h) wherever long double is
# something else, or everywhere with LUMOCALC_SOFT_EXTENDED. The macro goes to
# every target, so that all of them agree on what Extended is.
if(LUMOCALC_SOFT_EXTENDED)
  add_compile_definitions(LUMOCALC_SOFT_EXTENDED=1)
endif()

add_library(lumocalc_extended STATIC
  ${PROJECT_SOURCE_DIR}/eval/soft_extended.cpp
  ${PROJECT_SOURCE_DIR}/eval/extended_decimal.cpp)
target_include_directories(lumocalc_extended PUBLIC ${PROJECT_SOURCE_DIR})

# Whether long double is the x87 format on this target, so that the software
# format can be held against it.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([[
#if !(defined(__i386__) || defined(__x86_64__)) || __LDBL_MANT_DIG__ != 64
#error long double is not the x87 format
#endif
int main() { return 0; }
]] LUMOCALC_HAVE_X87_LONG_DOUBLE)
