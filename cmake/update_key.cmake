# The update public key built into the program: a PEM file holding an ECDSA
# P-256 public key (as `openssl pkey -pubout` writes it), embedded as it is
# in a header that defines NAME as its text; the program reads it with the
# system's own decoder. Any other key stops the configuration: such a key's
# DER form always begins with the same 27 bytes (the algorithm, the curve,
# the bit string's head and 0x04 for an uncompressed point), in base64 the
# 36 characters below.
function(tavrik_write_update_key pem_file header name)
  if(NOT EXISTS "${pem_file}")
    message(FATAL_ERROR "Update public key ${pem_file} not found")
  endif()
  file(READ "${pem_file}" pem)
  if(NOT pem MATCHES "-----BEGIN PUBLIC KEY-----([A-Za-z0-9+/=\r\n\t ]*)-----END PUBLIC KEY-----")
    message(FATAL_ERROR "${pem_file} holds no PEM public key")
  endif()
  string(REGEX REPLACE "[\r\n\t ]" "" base64 "${CMAKE_MATCH_1}")
  string(LENGTH "${base64}" length)
  if(NOT length EQUAL 124 OR NOT base64 MATCHES "^MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAE[A-Za-z0-9+/]+==$")
    message(FATAL_ERROR "${pem_file} is not an ECDSA P-256 (prime256v1) public key")
  endif()
  file(CONFIGURE OUTPUT "${header}" CONTENT
"// Generated from ${pem_file}: the update public key.
#pragma once
#define ${name} \"-----BEGIN PUBLIC KEY-----\\n${base64}\\n-----END PUBLIC KEY-----\\n\"
")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${pem_file}")
endfunction()
