# Registers the Wine runs of the test host with the native test suite. Each
# cache variable names a built cross-build dir (the one holding corvelle-host.exe
# and the module); an empty or missing dir registers nothing.
set(CORVELLE_WIN32_BUILD "" CACHE PATH "Built 32-bit cross-build dir whose test host ctest runs under Wine")
set(CORVELLE_WIN64_BUILD "" CACHE PATH "Built 64-bit cross-build dir whose test host ctest runs under Wine")

foreach(arch win32 win64)
  string(TOUPPER ${arch} arch_upper)
  set(cross_dir "${CORVELLE_${arch_upper}_BUILD}")
  if(cross_dir AND IS_DIRECTORY "${cross_dir}")
    add_test(NAME wine-host-${arch} COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-test.sh ${cross_dir})
    # The first run creates the Wine prefix (a minute or more); a test that hangs is ended by the
    # host's own watchdog long before the limit (tests/host/Watchdog.h). 77: this machine cannot run it.
    set_tests_properties(wine-host-${arch} PROPERTIES TIMEOUT 1800 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
  endif()
endforeach()
