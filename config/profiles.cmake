# Build-time configuration: the hosts behind the product's web addresses, the analytics
# collector and the publishers whose signature a downloaded installer must carry before it is
# started. TANDREL_PROFILE picks one set:
#   release - the maker's services (placeholders under a reserved example domain), the real
#             analytics collector and the maker's code-signing key;
#   local   - loopback stand-ins for the demo and the tests (tools/demo.py), and the
#             tests' code-signing certificate, made in the build folder at configure time.
set(TANDREL_PROFILE "local" CACHE STRING "Build profile: release or local")
set_property(CACHE TANDREL_PROFILE PROPERTY STRINGS release local)

if(TANDREL_PROFILE STREQUAL "release")
  set(TANDREL_DOWNLOAD_HOST "dl.orbitane.example")        # the product's full installer
  set(TANDREL_INFO_HOST "api.orbitane.example")           # licence, installed page, download-address API
  set(TANDREL_GA_HOST "www.google-analytics.com")
  set(TANDREL_GA_MEASUREMENT_ID "G-ORBTANE01")
  set(TANDREL_GA_API_SECRET "orbitane-setup-secret")
  # Publisher pins: hex SHA-256 of each accepted signer's SubjectPublicKeyInfo, as printed by
  #   openssl x509 -in cert.pem -noout -pubkey | openssl pkey -pubin -outform DER | sha256sum
  # PLACEHOLDER until the maker's code-signing certificate is known: it matches no key, so a
  # release build refuses every installer until the real hash replaces it.
  set(TANDREL_PUBLISHER_KEY_SHA256 "placeholder-for-the-orbitane-code-signing-key-sha256")
elseif(TANDREL_PROFILE STREQUAL "local")
  set(TANDREL_DOWNLOAD_HOST "127.0.0.10")
  set(TANDREL_INFO_HOST "127.0.0.11")
  set(TANDREL_GA_HOST "127.0.0.12")
  set(TANDREL_GA_MEASUREMENT_ID "G-LOCALDEMO1")
  set(TANDREL_GA_API_SECRET "local-demo-secret")
  set(TANDREL_PUBLISHER_KEY_SHA256 "")  # the tests' code-signing certificate, below
else()
  message(FATAL_ERROR "TANDREL_PROFILE must be release or local, not '${TANDREL_PROFILE}'")
endif()

set(TANDREL_GA_COLLECT_URL
    "https://${TANDREL_GA_HOST}/mp/collect?measurement_id=${TANDREL_GA_MEASUREMENT_ID}&api_secret=${TANDREL_GA_API_SECRET}")

# The tests' code-signing certificate, from the private test CA (tests/servers/testca.py) in the
# build folder: the sample installer is signed with it, and the local profile pins its key. Its
# files are configure dependencies, so a new certificate brings a new pin.
if(CMAKE_CROSSCOMPILING)
  set(TANDREL_TEST_CA_DIR ${CMAKE_BINARY_DIR}/tests/http/testca)
  set(TANDREL_TEST_PUBLISHER_SUBJECT "/CN=Orbitane Test Publisher (tests only)/O=Tandrel tests")
  execute_process(
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/servers/testca.py ${TANDREL_TEST_CA_DIR}
            --code-signing code-signing ${TANDREL_TEST_PUBLISHER_SUBJECT}
    OUTPUT_VARIABLE signing OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE signing_result)
  if(NOT signing_result EQUAL 0)
    message(FATAL_ERROR "cannot make the test code-signing certificate: ${signing_result}")
  endif()
  separate_arguments(signing UNIX_COMMAND "${signing}")
  list(GET signing 0 TANDREL_TEST_SIGNING_CERT)
  list(GET signing 1 TANDREL_TEST_SIGNING_KEY)
  list(GET signing 2 test_publisher_pin)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${TANDREL_TEST_SIGNING_CERT} ${TANDREL_TEST_SIGNING_KEY} ${CMAKE_SOURCE_DIR}/tests/servers/testca.py)
  if(TANDREL_PROFILE STREQUAL "local")
    set(TANDREL_PUBLISHER_KEY_SHA256 ${test_publisher_pin})
  endif()
endif()

if(CMAKE_CROSSCOMPILING AND NOT TANDREL_PUBLISHER_KEY_SHA256)
  message(FATAL_ERROR "The ${TANDREL_PROFILE} profile names no installer publisher")
endif()
foreach(pin IN LISTS TANDREL_PUBLISHER_KEY_SHA256)
  string(LENGTH "${pin}" pin_length)
  if(NOT pin MATCHES "^[0-9a-fA-F]+$" OR NOT pin_length EQUAL 64)
    message(WARNING "Publisher pin '${pin}' is no SHA-256 hash: no installer will be trusted")
  endif()
endforeach()
# A C initializer list of the pins: "aa..", "bb..".
list(TRANSFORM TANDREL_PUBLISHER_KEY_SHA256 PREPEND "\"" OUTPUT_VARIABLE pins_quoted)
list(TRANSFORM pins_quoted APPEND "\"")
list(JOIN pins_quoted ", " TANDREL_PUBLISHER_KEY_SHA256_LIST)
