// Values of the word processor's published enumerations that the program passes, shared by the
// caller and by the stand-in that answers on platforms without Word.
#pragma once

#include <cstdint>

namespace wd {

inline constexpr std::int32_t kAlertsNone = 0;               // DisplayAlerts: show no alerts
inline constexpr std::int32_t kMergeTargetNew = 2;           // Merge: into a new document
inline constexpr std::int32_t kUseFormattingFromPrompt = 2;  // Merge: ask which formatting
inline constexpr std::int32_t kDoNotSaveChanges = 0;         // Close, Quit: leave unsaved
// SaveAs2's FileFormat
inline constexpr std::int32_t kFormatDocument97 = 0;         // .doc
inline constexpr std::int32_t kFormatRtf = 6;                // .rtf
inline constexpr std::int32_t kFormatXmlDocument = 12;       // .docx
inline constexpr std::int32_t kFormatPdf = 17;               // .pdf
inline constexpr std::int32_t kFormatOpenDocumentText = 23;  // .odt

}  // namespace wd
