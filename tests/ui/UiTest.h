#pragma once
// A form of its own for each test of the component layer, with scripted dialogs.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"

class TestForm : public ui::TForm {
public:
    TestForm() : TForm(nullptr, "fTest", "TTestForm", 14) { SetClientSize(400, 300); }
    ~TestForm() override { BeginDestroy(); }
    const char* ClassName() const override { return "TTestForm"; }
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Application().Initialize();
        ui::Application().SetDialogs(&dialogs);
        form = std::make_unique<TestForm>();
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        EXPECT_EQ(dialogs.Unexpected(), 0);
        ui::Application().SetDialogs(nullptr);
        ui::Application().ResetTerminated();
    }

    // Creates a control owned by and placed on the form.
    template <class T, class... Extra>
    T* Make(const char* name, int left, int top, int width, int height, ui::TControl* parent = nullptr, Extra... extra)
    {
        T* control = new T(form.get(), name, extra...);
        control->SetBounds(left, top, width, height);
        control->SetParent(parent ? parent : form.get());
        return control;
    }

    static void Click(ui::TControl* control) { SendMessageA(control->Handle(), BM_CLICK, 0, 0); }

    ui::ScriptedDialogs dialogs;
    std::unique_ptr<TestForm> form;
};
