#include "platform/office/DocumentCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace office {

std::string DescribeProblem(DocumentProblem problem, const std::string& path) {
    const std::string quoted = "\"" + path + "\"";
    switch (problem) {
        case DocumentProblem::NotFound:
            return "The document " + quoted + " was not found.";
        case DocumentProblem::Folder:
            return quoted + " is a folder, not a document.";
        case DocumentProblem::Empty:
            return "The document " + quoted + " is empty.";
        case DocumentProblem::Unreadable:
            return "The document " + quoted + " cannot be read: permission denied.";
        case DocumentProblem::NotWordDocument:
            return quoted + " is not a Word document.";
        case DocumentProblem::Damaged:
            return "The document " + quoted + " is damaged and cannot be opened.";
        case DocumentProblem::PasswordProtected:
            return "The document " + quoted +
                   " is protected by a password. Remove the password, save it, and try again.";
    }
    return "The document " + quoted + " cannot be opened.";
}

std::optional<DocumentProblem> CheckOnDisk(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return DocumentProblem::NotFound;
    if (S_ISDIR(info.st_mode)) return DocumentProblem::Folder;
    if (access(path.c_str(), R_OK) != 0) return DocumentProblem::Unreadable;
    if (S_ISREG(info.st_mode) && info.st_size == 0) return DocumentProblem::Empty;
    return std::nullopt;
}

bool LooksLikeDocumentFile(const std::string& path) {
    static const std::string kSignatures[] = {
        std::string("PK\x03\x04", 4),
        std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
        "{\\rtf",
        "<?xml",
    };
    std::ifstream in(path, std::ios::binary);
    std::string head(8, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    for (const std::string& signature : kSignatures) {
        if (head.compare(0, signature.size(), signature) == 0) return true;
    }
    return false;
}

}  // namespace office
