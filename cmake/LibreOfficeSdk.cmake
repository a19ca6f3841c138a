# Finds the LibreOffice program and SDK folders, generates the UNO C++ headers from the office's
# type libraries, and provides the imported target LibreOffice::Uno.
set(LIBREOFFICE_PROGRAM_DIR "/usr/lib/libreoffice/program" CACHE PATH "LibreOffice program folder")
set(LIBREOFFICE_SDK_DIR "/usr/lib/libreoffice/sdk" CACHE PATH "LibreOffice SDK folder")

find_program(LIBREOFFICE_CPPUMAKER cppumaker PATHS "${LIBREOFFICE_SDK_DIR}/bin" NO_DEFAULT_PATH)
set(_types "${LIBREOFFICE_PROGRAM_DIR}/types.rdb" "${LIBREOFFICE_PROGRAM_DIR}/types/offapi.rdb")
if(NOT LIBREOFFICE_CPPUMAKER OR NOT EXISTS "${LIBREOFFICE_PROGRAM_DIR}/soffice.bin")
    set(LibreOfficeSdk_FOUND FALSE)
    return()
endif()
foreach(_rdb IN LISTS _types)
    if(NOT EXISTS "${_rdb}")
        set(LibreOfficeSdk_FOUND FALSE)
        return()
    endif()
endforeach()

# All types take about a second and 26 MB; generating them all spares a list to keep up to date.
set(_generated "${CMAKE_BINARY_DIR}/uno-headers")
if(NOT EXISTS "${_generated}/com/sun/star/frame/Desktop.hpp")
    execute_process(
        COMMAND "${LIBREOFFICE_CPPUMAKER}" -Gc "-O${_generated}" ${_types}
        RESULT_VARIABLE _result ERROR_VARIABLE _error)
    if(NOT _result EQUAL 0)
        message(FATAL_ERROR "cppumaker failed: ${_error}")
    endif()
endif()

add_library(LibreOffice::Uno INTERFACE IMPORTED)
target_include_directories(LibreOffice::Uno SYSTEM INTERFACE
    "${_generated}" "${LIBREOFFICE_SDK_DIR}/include")
target_compile_definitions(LibreOffice::Uno INTERFACE UNX GCC LINUX CPPU_ENV=gcc3
    LIBREOFFICE_PROGRAM_DIR="${LIBREOFFICE_PROGRAM_DIR}")
target_link_directories(LibreOffice::Uno INTERFACE "${LIBREOFFICE_SDK_DIR}/lib")
target_link_libraries(LibreOffice::Uno INTERFACE
    uno_cppuhelpergcc3 uno_cppu uno_salhelpergcc3 uno_sal)
target_link_options(LibreOffice::Uno INTERFACE "LINKER:-rpath,${LIBREOFFICE_PROGRAM_DIR}")
set(LibreOfficeSdk_FOUND TRUE)
