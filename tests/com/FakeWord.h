// A stand-in "Word.Application" automation server for the Windows tests: the members the
// program uses, every call written to a log with its argument names, VARIANT types and values,
// every final release logged, and any member made to fail with a chosen description. SaveAs2
// stores a document as it was opened, a "X.doc" as the "X.docx" beside it: Word's conversion.
//   QUORVANE_FAKE_WORD_LOG   the log file (default C:\fakeword.log)
//   QUORVANE_FAKE_WORD_FAIL  "Member=Description": that member raises the description
//   QUORVANE_FAKE_WORD_NAME  the application's name, its default value (default Microsoft Word)
#pragma once

#include <windows.h>

// {6F1D4C0A-8E8B-4C55-9B7E-2F4D5A6B7C81}
inline constexpr CLSID kFakeWordClsid = {
    0x6f1d4c0a, 0x8e8b, 0x4c55, {0x9b, 0x7e, 0x2f, 0x4d, 0x5a, 0x6b, 0x7c, 0x81}};

// A new application object with one reference.
IDispatch* NewFakeApplication();
// The class factory of the application object.
IClassFactory* NewFakeFactory();
// Objects alive in this module, for DllCanUnloadNow.
LONG LiveFakeObjects();
// Adds one line to the log.
void FakeWordLog(const char* line);
