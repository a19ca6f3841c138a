// A private word processor of our own, as the program and the command line see it: opens and
// checks documents, marks the differences between two as tracked changes in a new untitled
// document, shows or stores the result, and quits. Every failure is an automation::Error with a
// description for the user. No UNO here: the engine that implements it is loaded at run time.
#pragma once

#include <memory>
#include <string>

#include "office/loader/OfficeLimits.h"

namespace office {

struct SessionOptions {
    std::string programDir = LIBREOFFICE_PROGRAM_DIR;
    bool headless = true;
    OfficeLimits limits;
    // The name the tracked changes carry; empty for the user's own.
    std::string author;
};

// The user's own name for the tracked changes: the account's full name, else its login name.
std::string DefaultAuthor();

class ComparisonSession {
  public:
    class Document;  // an open document of the session
    using DocumentRef = std::shared_ptr<Document>;

    virtual ~ComparisonSession() = default;

    // Opens a Word (or Writer) document hidden and read-only.
    virtual DocumentRef open(const std::string& path) = 0;
    // A new untitled document: `revisedPath` with its differences from `original` marked as
    // tracked changes by our own engine, formatting changes too when `formatting` is set.
    // Neither file changes.
    virtual DocumentRef compare(const DocumentRef& original, const std::string& revisedPath,
                                bool formatting = true) = 0;
    // Stores the Word (or Writer) document at `path` as a Word 2007+ document at `docxPath`,
    // with every check that opening it makes.
    virtual void convert(const std::string& path, const std::string& docxPath) = 0;
    virtual void close(const DocumentRef& document) = 0;
    // Shows every open document on the desktop; the office then runs on for the user.
    virtual void show() = 0;
    virtual void quit() = 0;

    // Stores the document under `path` with the office's export filter `filterName`,
    // encrypted when a password is given.
    virtual void store(const DocumentRef& document, const std::string& path,
                       const std::string& filterName, const std::string& password = {}) = 0;

    virtual std::string productName() = 0;
    virtual int pid() const = 0;
};

}  // namespace office
