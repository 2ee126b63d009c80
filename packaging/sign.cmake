# Signs a Windows program in place with Authenticode (SHA-256), through osslsigncode. The build
# makes a script that sets everything but FILE and includes this one; run it as
#   cmake -DFILE=program.exe -P sign-with-certificate.cmake
# OSSLSIGNCODE, CERTIFICATE (PKCS#12), PASSWORD_FILE, DESCRIPTION and URL are needed; with
# TIMESTAMP_URL the signature is also time-stamped (RFC 3161), so that it outlives the certificate.

set(options sign -pkcs12 ${CERTIFICATE} -readpass ${PASSWORD_FILE} -h sha256 -n ${DESCRIPTION} -i ${URL})
if(TIMESTAMP_URL)
  list(APPEND options -ts ${TIMESTAMP_URL})
endif()
# osslsigncode writes a new file; the signed program replaces the unsigned one only once it is whole.
set(signed ${FILE}.signed)
file(REMOVE ${signed})
execute_process(COMMAND ${OSSLSIGNCODE} ${options} -in ${FILE} -out ${signed}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${signed})
  file(REMOVE ${signed})
  message(FATAL_ERROR "osslsigncode could not sign ${FILE} with ${CERTIFICATE}:\n${output}")
endif()
file(RENAME ${signed} ${FILE})
