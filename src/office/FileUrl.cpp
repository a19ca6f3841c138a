#include "office/FileUrl.h"

#include <osl/process.h>
#include <osl/file.hxx>

#include "office/UnoValues.h"

namespace office {

std::string FileUrlFromPath(const std::string& absolutePath) {
    rtl::OUString url;
    osl::FileBase::getFileURLFromSystemPath(UnoString(absolutePath), url);
    return Utf8(url);
}

std::string AbsolutePath(const std::string& path) {
    rtl::OUString folder, relative, absolute, result;
    if (osl_getProcessWorkingDir(&folder.pData) != osl_Process_E_None ||
        osl::FileBase::getFileURLFromSystemPath(UnoString(path), relative) !=
            osl::FileBase::E_None ||
        osl::FileBase::getAbsoluteFileURL(folder, relative, absolute) != osl::FileBase::E_None ||
        osl::FileBase::getSystemPathFromFileURL(absolute, result) != osl::FileBase::E_None) {
        return path;
    }
    return Utf8(result);
}

}  // namespace office
