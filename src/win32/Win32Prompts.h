// The program's modal messages as Windows message boxes.
#pragma once

#include "app/errors/Prompts.h"

class Win32Prompts : public Prompts {
  public:
    void inform(const std::string& text) override;
    Answer ask(const std::string& text) override;
    void reportError(const std::string& text) override;
};
