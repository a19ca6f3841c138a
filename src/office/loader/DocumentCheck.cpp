#include "office/loader/DocumentCheck.h"

#include <fstream>

#include "office/loader/CompoundFile.h"
#include "office/loader/FileSystem.h"
#include "redline/FilePath.h"

namespace office {

std::string DescribeProblem(DocumentProblem problem, const std::string& path,
                            std::uint64_t megabytes) {
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
        case DocumentProblem::OldWordFormat:
            return "The document " + quoted +
                   " is a Word document in a format older than Word 97, which the word "
                   "processor cannot read. Open it in Word, save it as a Word 97-2003 (.doc) or "
                   "Word (.docx) document, and try again.";
        case DocumentProblem::TooLarge:
            return "The document " + quoted + " is too large to compare: more than " +
                   std::to_string(megabytes) + " MB when unpacked.";
        case DocumentProblem::TwoBodies:
            return "The document " + quoted +
                   " is damaged and cannot be compared: it holds two document bodies, where a "
                   "Word document holds one.";
        case DocumentProblem::StrictOpenXml:
            return "The document " + quoted +
                   " is saved as Strict Open XML, which cannot be compared. Open it in Word, save "
                   "it as a Word Document (.docx), and try again.";
    }
    return "The document " + quoted + " cannot be opened.";
}

std::optional<DocumentProblem> CheckOnDisk(const std::string& path) {
    const FileFacts facts = FactsOf(path);
    if (!facts.exists) return DocumentProblem::NotFound;
    if (facts.folder) return DocumentProblem::Folder;
    if (!facts.readable) return DocumentProblem::Unreadable;
    if (facts.plainFile && facts.size == 0) return DocumentProblem::Empty;
    return std::nullopt;
}

std::optional<DocumentProblem> CheckContainer(const std::string& path) {
    auto container = CompoundFile::Open(path);
    if (container && container->hasStream("EncryptionInfo") &&
        container->hasStream("EncryptedPackage")) {
        return DocumentProblem::PasswordProtected;
    }
    return std::nullopt;
}

bool LooksLikeOldWordFormat(const std::string& path) {
    // wIdent, then nFib: 0xA59B Word 1.x, 0xA5DB Word 2.0, 0xA5DC Word 6.0/95; from Word 97 on,
    // 0xA5EC with nFib 193 or more.
    auto old = [](const std::string& fib) {
        if (fib.size() < 4) return false;
        const unsigned ident =
            static_cast<unsigned char>(fib[0]) | static_cast<unsigned char>(fib[1]) << 8;
        const unsigned nFib =
            static_cast<unsigned char>(fib[2]) | static_cast<unsigned char>(fib[3]) << 8;
        return ident == 0xA59B || ident == 0xA5DB || ident == 0xA5DC ||
               (ident == 0xA5EC && nFib > 0 && nFib < 193);
    };
    std::ifstream in(redline::FilePath(path), std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    if (in && old(head)) return true;
    auto container = CompoundFile::Open(path);
    return container && old(container->streamStart("WordDocument", 4));
}

bool LooksLikeDocumentFile(const std::string& path) {
    static const std::string kSignatures[] = {
        std::string("PK\x03\x04", 4),
        std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
        "{\\rtf",
        "<?xml",
    };
    std::ifstream in(redline::FilePath(path), std::ios::binary);
    std::string head(8, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    for (const std::string& signature : kSignatures) {
        if (head.compare(0, signature.size(), signature) == 0) return true;
    }
    return false;
}

}  // namespace office
