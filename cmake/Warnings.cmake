# Warnings on everywhere; errors with LUMOCALC_WERROR (the test run sets it).
add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports std::string's own operator+ and insert as overlapping
  # memcpy (GCC bug 105329), a false positive at -O2.
  add_compile_options(-Wno-restrict)
endif()
if(LUMOCALC_WERROR)
  add_compile_options(-Werror)
endif()
if(LUMOCALC_FUZZER)
  # A tree of its own: every library the fuzz targets link is instrumented
  # for coverage and runs under ASan and UBSan, with its asserts on whatever
  # the build type: a precondition broken is a finding too.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -UNDEBUG)
  add_link_options(-fsanitize=address,undefined)
elseif(LUMOCALC_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
