# Build-time configuration: the hosts behind the product's web addresses and the analytics
# collector. TANDREL_PROFILE picks one set:
#   release - the maker's services (placeholders under a reserved example domain) and the
#             real analytics collector;
#   local   - loopback stand-ins for the demo and the tests (tools/demo-service.py).
set(TANDREL_PROFILE "local" CACHE STRING "Build profile: release or local")
set_property(CACHE TANDREL_PROFILE PROPERTY STRINGS release local)

if(TANDREL_PROFILE STREQUAL "release")
  set(TANDREL_DOWNLOAD_HOST "dl.orbitane.example")        # the product's full installer
  set(TANDREL_INFO_HOST "api.orbitane.example")           # licence, installed page, download-address API
  set(TANDREL_GA_HOST "www.google-analytics.com")
  set(TANDREL_GA_MEASUREMENT_ID "G-ORBTANE01")
  set(TANDREL_GA_API_SECRET "orbitane-setup-secret")
elseif(TANDREL_PROFILE STREQUAL "local")
  set(TANDREL_DOWNLOAD_HOST "127.0.0.10")
  set(TANDREL_INFO_HOST "127.0.0.11")
  set(TANDREL_GA_HOST "127.0.0.12")
  set(TANDREL_GA_MEASUREMENT_ID "G-LOCALDEMO1")
  set(TANDREL_GA_API_SECRET "local-demo-secret")
else()
  message(FATAL_ERROR "TANDREL_PROFILE must be release or local, not '${TANDREL_PROFILE}'")
endif()

set(TANDREL_GA_COLLECT_URL
    "https://${TANDREL_GA_HOST}/mp/collect?measurement_id=${TANDREL_GA_MEASUREMENT_ID}&api_secret=${TANDREL_GA_API_SECRET}")
