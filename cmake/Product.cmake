# The one place that names the product: its name, maker, version and the maker's addresses.
# The sources get them through the generated header app/Product.h, the Windows program through
# its version block, the packages through CPack.
set(QUORVANE_PRODUCT_NAME "Quorvane Paired Office Paper Examiners Highlighter Deskware")
set(QUORVANE_MAKER_NAME "Meldrisk")
set(QUORVANE_VERSION_MAJOR 7)
set(QUORVANE_VERSION_MINOR 0)
set(QUORVANE_VERSION_PATCH 0)
set(QUORVANE_VERSION "${QUORVANE_VERSION_MAJOR}.${QUORVANE_VERSION_MINOR}.${QUORVANE_VERSION_PATCH}")
# "7.00": the major version and the minor in two digits.
if(QUORVANE_VERSION_MINOR LESS 10)
    set(QUORVANE_VERSION_TEXT "${QUORVANE_VERSION_MAJOR}.0${QUORVANE_VERSION_MINOR}")
else()
    set(QUORVANE_VERSION_TEXT "${QUORVANE_VERSION_MAJOR}.${QUORVANE_VERSION_MINOR}")
endif()

# The maker's web addresses; the defaults lie under a domain reserved for examples.
set(QUORVANE_HOME_PAGE "http://www.meldrisk.example/" CACHE STRING
    "The maker's home page, opened on one start in a hundred")
set(QUORVANE_CONTACT_PAGE "http://www.meldrisk.example/contact/" CACHE STRING
    "The maker's contact page, named by the Help button")
set(QUORVANE_SUPPORT_ADDRESS "support@meldrisk.example" CACHE STRING
    "The e-mail address that the error report asks for a screenshot at")
