# The update public key built into the program: reads a PEM file holding an
# ECDSA P-256 public key (as `openssl pkey -pubout` writes it) and writes a
# header defining NAME as the 64 bytes of its point, X then Y, for the
# system's key blob. Any other key stops the configuration.
#
# Such a key's DER form is always the same 27-byte prefix (the algorithm, the
# curve, the bit string's head and 0x04 for an uncompressed point) followed
# by X and Y: in base64, the 36 characters below and then 88 for the point.
function(tavrik_write_update_key pem_file header name)
  if(NOT EXISTS "${pem_file}")
    message(FATAL_ERROR "Update public key ${pem_file} not found")
  endif()
  file(READ "${pem_file}" pem)
  if(NOT pem MATCHES "-----BEGIN PUBLIC KEY-----([A-Za-z0-9+/=\r\n\t ]*)-----END PUBLIC KEY-----")
    message(FATAL_ERROR "${pem_file} holds no PEM public key")
  endif()
  string(REGEX REPLACE "[\r\n\t ]" "" base64 "${CMAKE_MATCH_1}")
  set(prefix "MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAE")
  string(LENGTH "${base64}" length)
  if(NOT length EQUAL 124 OR NOT base64 MATCHES "^${prefix}[A-Za-z0-9+/]+==$")
    message(FATAL_ERROR "${pem_file} is not an ECDSA P-256 (prime256v1) public key")
  endif()
  # 86 characters carry the point's 64 bytes (the last 4 bits are padding).
  string(SUBSTRING "${base64}" 36 86 point)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  set(bits 0)
  set(bit_count 0)
  set(bytes "")
  foreach(i RANGE 85)
    string(SUBSTRING "${point}" ${i} 1 char)
    string(FIND "${alphabet}" "${char}" value)
    math(EXPR bits "((${bits} << 6) | ${value}) & 4095")
    math(EXPR bit_count "${bit_count} + 6")
    if(bit_count GREATER_EQUAL 8)
      math(EXPR bit_count "${bit_count} - 8")
      math(EXPR byte "(${bits} >> ${bit_count}) & 255" OUTPUT_FORMAT HEXADECIMAL)
      list(APPEND bytes "${byte}")
    endif()
  endforeach()
  list(LENGTH bytes count)
  if(NOT count EQUAL 64)
    message(FATAL_ERROR "${pem_file}: ${count} bytes decoded instead of 64")
  endif()
  string(REPLACE ";" "," bytes "${bytes}")
  file(CONFIGURE OUTPUT "${header}" CONTENT
"// Generated from ${pem_file}: the update public key's X and Y.
#pragma once
#define ${name} ${bytes}
")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${pem_file}")
endfunction()
