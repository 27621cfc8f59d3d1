# Compile settings shared by every target of our own.

if(LUMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# lumora_strict(<target>): our own code builds without warnings.
function(lumora_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
