# nookery_gzip(<target> <file>)
# <file>.gz beside <file>, built with `all`; -n keeps the output the same from build to build.
function(nookery_gzip target file)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND gzip -9 -n -f -k ${file}
    DEPENDS ${file}
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${file}.gz)
endfunction()
