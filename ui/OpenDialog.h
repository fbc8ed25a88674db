#pragma once
// The file-open dialog; shown through the application's dialogs.
#include <string>

#include "ui/Component.h"

namespace ui {

class TOpenDialog : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TOpenDialog"; }

    // "Description|pattern|Description|pattern..."
    std::string Filter;
    std::wstring FileName;
    std::string Title;

    // True when the user chose a file; FileName then holds its full path.
    bool Execute();
};

}  // namespace ui
