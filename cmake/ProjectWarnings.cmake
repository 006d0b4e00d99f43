# correlatore_harden(target): the project's warnings and, when asked for, sanitizers.
# Applied per target so that third-party code and Qt's generated sources are left alone.
function(correlatore_harden target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion -Wdouble-promotion)
  if(CORRELATORE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  correlatore_sanitize(${target})
endfunction()

# Link options are public: whatever links a sanitized library needs the sanitizer runtime too.
function(correlatore_sanitize target)
  if(CORRELATORE_SANITIZE STREQUAL "address")
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  elseif(CORRELATORE_SANITIZE STREQUAL "thread")
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=thread)
  endif()
endfunction()
