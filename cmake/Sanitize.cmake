# PAGETAP_SANITIZE=address builds everything with ASan and UBSan, =thread with TSan.
if(PAGETAP_SANITIZE STREQUAL "address")
  set(pagetap_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(PAGETAP_SANITIZE STREQUAL "thread")
  set(pagetap_sanitize_flags -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT PAGETAP_SANITIZE STREQUAL "")
  message(FATAL_ERROR "PAGETAP_SANITIZE must be empty, address or thread, not '${PAGETAP_SANITIZE}'")
endif()

if(pagetap_sanitize_flags)
  add_compile_options(${pagetap_sanitize_flags})
  add_link_options(${pagetap_sanitize_flags})
endif()
