# The independent programs the tests compare our pictures and symbols with:
# zint draws the same symbols, zbarimg and ZXingReader read our pictures,
# rsvg-convert and pdftoppm rasterise our SVG and PDF files. Without them
# those tests skip, which a summary line shows as a pass; so where they must
# run (the test script turns KESTREL_REQUIRE_ORACLES on), a missing one stops
# the configure step instead.
#
# KESTREL_ORACLE_SEARCH_PATH, when set, is the only folder searched (a test
# uses it to show the failure); otherwise PATH and the system folders are.
#
# Usable from a project (include) and in script mode (cmake -P).

set(kestrel_oracles zint zbarimg ZXingReader rsvg-convert pdftoppm)
set(kestrel_oracle_packages
    "zint: zint" "zbarimg: zbar-tools" "ZXingReader: zxing-cpp-tools"
    "rsvg-convert: librsvg2-bin" "pdftoppm: poppler-utils")

set(kestrel_missing_oracles "")
foreach(oracle IN LISTS kestrel_oracles)
  string(MAKE_C_IDENTIFIER "KESTREL_ORACLE_${oracle}" variable)
  if(KESTREL_ORACLE_SEARCH_PATH)
    find_program(${variable} ${oracle} PATHS "${KESTREL_ORACLE_SEARCH_PATH}" NO_DEFAULT_PATH
                 NO_CACHE)
  else()
    find_program(${variable} ${oracle})
  endif()
  if(NOT ${variable})
    list(APPEND kestrel_missing_oracles ${oracle})
  endif()
endforeach()

if(kestrel_missing_oracles)
  list(JOIN kestrel_missing_oracles ", " missing)
  list(JOIN kestrel_oracle_packages "; " packages)
  if(KESTREL_REQUIRE_ORACLES)
    message(FATAL_ERROR
      "Oracles required but missing: ${missing}.\n"
      "The tests that compare with them would skip and still show green. Install them "
      "(bash scripts/setup.sh; Debian packages ${packages}) or configure with "
      "-DKESTREL_REQUIRE_ORACLES=OFF to build without those comparisons.")
  else()
    message(WARNING "Oracles missing, their comparisons will skip: ${missing}")
  endif()
endif()
