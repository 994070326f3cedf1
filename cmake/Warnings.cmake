# Warnings on everywhere; errors with LUMOCALC_WERROR (the test run sets it).
add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast)
if(LUMOCALC_WERROR)
  add_compile_options(-Werror)
endif()
if(LUMOCALC_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
