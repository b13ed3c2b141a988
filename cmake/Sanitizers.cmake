if(VELLORIN_SANITIZE)
  set(sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${sanitizer_flags})
  add_link_options(${sanitizer_flags})
endif()

# Coverage feedback for the fuzzer, in all code it can reach.
if(VELLORIN_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
