# Tests that run programs of other build trees, registered only when the
# caller names those trees (tools/test.sh does).

set(CORVELLE_ASAN_BUILD "" CACHE PATH "Build tree with CORVELLE_SANITIZE=ON")
set(CORVELLE_FUZZ_BUILD "" CACHE PATH "Build tree with CORVELLE_FUZZ=ON")

if(CORVELLE_ASAN_BUILD AND EXISTS ${CORVELLE_ASAN_BUILD}/CMakeCache.txt)
  foreach(subsystem dump export io plugin viewer model about)
    add_test(NAME sanitized-${subsystem}-tests
      COMMAND ${CORVELLE_ASAN_BUILD}/tests/corvelle_${subsystem}_tests --gtest_brief=1)
    set_tests_properties(sanitized-${subsystem}-tests PROPERTIES
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endforeach()
  if(EXISTS ${CORVELLE_ASAN_BUILD}/tests/corvelle_qt_tests)
    add_test(NAME sanitized-qt-tests COMMAND ${CORVELLE_ASAN_BUILD}/tests/corvelle_qt_tests --gtest_brief=1)
    set_tests_properties(sanitized-qt-tests PROPERTIES ENVIRONMENT
      "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/qt/lsan-qt.supp;QT_QPA_PLATFORM=offscreen")
  endif()
endif()

foreach(fuzzer fuzz-report fuzz-icon fuzz-export)
  if(CORVELLE_FUZZ_BUILD AND EXISTS ${CORVELLE_FUZZ_BUILD}/tools/${fuzzer})
    add_test(NAME ${fuzzer}-30s COMMAND ${CMAKE_SOURCE_DIR}/tools/run-fuzzer.sh ${CORVELLE_FUZZ_BUILD}/tools/${fuzzer} 30)
    set_tests_properties(${fuzzer}-30s PROPERTIES TIMEOUT 200)
  endif()
endforeach()
if(CORVELLE_FUZZ_BUILD AND EXISTS ${CORVELLE_FUZZ_BUILD}/tools/fuzz-books)
  add_test(NAME fuzz-books-30s COMMAND ${CMAKE_SOURCE_DIR}/tools/run-fuzzer.sh ${CORVELLE_FUZZ_BUILD}/tools/fuzz-books 30
    ${CMAKE_SOURCE_DIR}/tests/data/books)
  set_tests_properties(fuzz-books-30s PROPERTIES TIMEOUT 200)
endif()
if(CORVELLE_FUZZ_BUILD AND EXISTS ${CORVELLE_FUZZ_BUILD}/tools/fuzz-records)
  add_test(NAME fuzz-records-20s COMMAND ${CMAKE_SOURCE_DIR}/tools/run-fuzzer.sh ${CORVELLE_FUZZ_BUILD}/tools/fuzz-records 20)
  set_tests_properties(fuzz-records-20s PROPERTIES TIMEOUT 200)
endif()

# The records and the export fuzzers again, seeded with the Mail, Expense, Note Pad, Photos and JFile databases the
# writers in tools/records/ make (cut notes, bombs, picture blocks missing and out of order).
foreach(fuzzer fuzz-records fuzz-export)
  if(CORVELLE_FUZZ_BUILD AND EXISTS ${CORVELLE_FUZZ_BUILD}/tools/${fuzzer})
    add_test(NAME ${fuzzer}-organizer-seeds-30s
      COMMAND ${CMAKE_SOURCE_DIR}/tools/records/fuzz-records.sh ${CORVELLE_FUZZ_BUILD}/tools/${fuzzer} 30)
    set_tests_properties(${fuzzer}-organizer-seeds-30s PROPERTIES TIMEOUT 200)
  endif()
endforeach()

# Mobipocket books, seeded with every book the checks use and the damaged ones (loops, bombs, offsets past the end).
if(CORVELLE_FUZZ_BUILD AND EXISTS ${CORVELLE_FUZZ_BUILD}/tools/fuzz-mobipocket)
  add_test(NAME fuzz-mobipocket-30s
    COMMAND ${CMAKE_SOURCE_DIR}/tools/books/fuzz-mobipocket.sh ${CORVELLE_FUZZ_BUILD}/tools/fuzz-mobipocket 30)
  set_tests_properties(fuzz-mobipocket-30s PROPERTIES TIMEOUT 200)
endif()

# zTXT and Plucker books, seeded with zlib bombs, a damaged record, tables in themselves and offsets past the end.
if(CORVELLE_FUZZ_BUILD AND EXISTS ${CORVELLE_FUZZ_BUILD}/tools/fuzz-ztxt-plucker)
  add_test(NAME fuzz-ztxt-plucker-30s
    COMMAND ${CMAKE_SOURCE_DIR}/tools/books/fuzz-ztxt-plucker.sh ${CORVELLE_FUZZ_BUILD}/tools/fuzz-ztxt-plucker 30)
  set_tests_properties(fuzz-ztxt-plucker-30s PROPERTIES TIMEOUT 200)
endif()

# Databases written by an independent writer (Debian's Palm::PDB) read back.
find_program(CORVELLE_PERL perl)
if(CORVELLE_PERL)
  add_test(NAME perl-written-databases
    COMMAND ${CMAKE_SOURCE_DIR}/tools/perl/check-perl-databases.sh $<TARGET_FILE:corvelle-dump>)
  # The record decoders against Debian's Palm::Memo, ToDo, Address and Datebook, txt2pdbdoc and hexdump.
  add_test(NAME record-decoders-against-independent-ones
    COMMAND ${CMAKE_SOURCE_DIR}/tools/perl/check-record-decoders.sh $<TARGET_FILE:corvelle-dump>
      ${CMAKE_SOURCE_DIR}/samples)
endif()

# Mobipocket books read by Debian's mobitool and by calibre (its readings committed beside the books it
# wrote), and the books tools/books/mobibook.py writes from the format's description (HUFF/CDIC and the rest).
find_program(CORVELLE_MOBITOOL mobitool)
if(CORVELLE_MOBITOOL AND EXISTS /usr/bin/python3)
  add_test(NAME books-mobipocket
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/books/check-mobipocket.py $<TARGET_FILE:corvelle-dump>)
endif()

# The install package: name, members, pluginst.inf keys, and that the built modules are stripped GUI modules.
add_test(NAME install-zip
  COMMAND ${CMAKE_SOURCE_DIR}/tools/make-zip-test.sh ${CORVELLE_WIN32_BUILD} ${CORVELLE_WIN64_BUILD})

# The exports read by parsers that no one here wrote (python3-vobject, python3-icalendar, dateutil) and compared
# with what Debian's Palm modules read from the same databases.
if(CORVELLE_PERL AND EXISTS /usr/bin/python3)
  foreach(check vcard readings ics text json encodings raw errors)
    add_test(NAME export-${check}
      COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/export/check-exports.py ${check} $<TARGET_FILE:corvelle-dump>)
  endforeach()
  # Palm OS 5's Calendar and Memos written by Debian's Palm modules, its Tasks by a writer of their own.
  foreach(check calendar tasks memos)
    add_test(NAME export-${check} COMMAND /usr/bin/python3
      ${CMAKE_SOURCE_DIR}/tools/export/check-organizer-exports.py ${check} $<TARGET_FILE:corvelle-dump>)
  endforeach()
  # The code pages' Windows half, through the 64-bit cross-built corvelle-dump.exe under Wine.
  if(CORVELLE_WIN64_BUILD AND EXISTS ${CORVELLE_WIN64_BUILD}/corvelle-dump.exe)
    add_test(NAME export-windows COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/export/check-exports.py windows
      $<TARGET_FILE:corvelle-dump> ${CORVELLE_WIN64_BUILD}/corvelle-dump.exe)
    set_tests_properties(export-windows PROPERTIES TIMEOUT 600)
  endif()
endif()

# Contacts databases of Palm OS 5, which no packaged tool writes or reads: written byte by byte from their layout
# by a script of their own, read back as fields, as JSON (the json module) and as vCard (python3-vobject).
if(EXISTS /usr/bin/python3)
  add_test(NAME export-contacts
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/export/check-contacts.py $<TARGET_FILE:corvelle-dump>)
endif()

# The books: eReader against calibre's reading kept beside each book (tools/books/make-books.sh makes them where
# calibre is installed), TealDoc against mobitool and txt2pdbdoc run here, iSilo named and shown as bytes.
if(EXISTS /usr/bin/python3)
  foreach(check ereader tealdoc isilo)
    add_test(NAME books-${check}
      COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/books/check-books.py ${check} $<TARGET_FILE:corvelle-dump>)
  endforeach()
endif()

# zTXT and Plucker books written from the formats' descriptions, against calibre's reading of them kept beside
# each (tools/books/make-ztxt-plucker.sh makes both where calibre is installed) and what was written.
if(EXISTS /usr/bin/python3)
  add_test(NAME books-ztxt-plucker
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/books/check-ztxt-plucker.py $<TARGET_FILE:corvelle-dump>)
endif()
