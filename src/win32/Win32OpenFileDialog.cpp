#include "win32/Win32OpenFileDialog.h"

#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "com/ComText.h"

std::wstring Win32OpenFileDialog::FilterText(const std::string& filter) {
    std::wstring text = com::Wide(filter);
    for (wchar_t& c : text) {
        if (c == L'|') c = L'\0';
    }
    if (text.empty() || text.back() != L'\0') text += L'\0';
    return text + L'\0';
}

void Win32OpenFileDialog::ShowOpen() {
    // Room for the longest path Windows knows.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring preset = com::Wide(fileName_);
    preset.copy(file.data(), std::min(preset.size(), file.size() - 1));
    const std::wstring filter = FilterText(filter_);
    const std::wstring title = com::Wide(title_);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = static_cast<DWORD>(flags_);
    if (GetOpenFileNameW(&dialog)) {
        fileName_ = com::Utf8(file.data());
    } else if (const DWORD error = CommDlgExtendedError(); error != 0) {
        throw std::runtime_error("The open-file dialog could not be shown (error " +
                                 std::to_string(error) + ").");
    }
}
