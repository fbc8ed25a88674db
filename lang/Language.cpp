// The language file: every caption, hint and message of the window, and the country list.
#include "app/Main.h"
#include "lang/LanguageIndex.h"
#include "presets/Difficulty.h"
#include "ui/AccessKey.h"
#include "ui/Exception.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

std::string ShortPart(const std::string& value) { return value.substr(0, FindChar(value, '|')); }

// The texts an entry gives a component, by its exact class.
void ApplyEntry(TComponent* component, const std::string& value)
{
    auto* control = dynamic_cast<TControl*>(component);
    if (!control) return;
    const std::string kind = component->ClassName();
    if (kind == "TLabel" || kind == "TCheckBox") {
        control->SetHint(value);
        control->SetCaption(ShortPart(value));
    } else if (kind == "TGroupBox") {
        control->SetHint(value);
        control->SetCaption(" " + ShortPart(value) + " ");
    } else if (kind == "TTabSheet") {
        control->SetCaption(" " + value + " ");
    } else if (kind == "TButton" || kind == "TSpeedButton" || kind == "TRadioButton") {
        control->SetCaption(value);
    }
}

const std::vector<std::string> kNoLines;

}  // namespace

const std::vector<std::string>& TfConfig::languageTable() const { return language_ ? language_->Lines() : kNoLines; }

const std::vector<std::string>& TfConfig::languageDisplayList() const
{
    return language_ ? language_->DisplayList() : kNoLines;
}

std::string TfConfig::LanguageText(const std::string& name) const { return language_ ? language_->Text(name) : ""; }

std::string TfConfig::LanguageTextOr(const std::string& name, const std::string& builtIn) const
{
    std::string text = LanguageText(name);
    return text.empty() ? builtIn : text;
}

std::string TfConfig::LanguageKeyOf(const std::string& text) const
{
    if (!language_) return {};
    return language_->KeyOf(text).value_or(std::string());
}

void TfConfig::LoadLanguage(const std::wstring& path)
{
    // The errors raised below the window speak the language of the file, once it is read.
    for (const ErrorTextRow& row : kErrorTexts) SetErrorText(row.text, {});
    language_ = std::make_unique<LanguageIndex>(ReadLanguageFile(path));
    for (const ErrorTextRow& row : kErrorTexts) SetErrorText(row.text, LanguageText(row.entry));

    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* component = Components(i);
        if (language_->FirstLineNamed(component->Name()) >= 0) ApplyEntry(component, LanguageText(component->Name()));
    }
    SetCaption(LanguageText("fConfig"));

    cb3dAcceleration2->SetCaption(cb3dAcceleration->Caption());
    dlgDifficulty->SetCaption(Caption());
    const std::pair<TComboBox*, TRadioButton*> groupCaptions[] = {
        {cbPage, rbPage},           {cbActions, rbActions},           {cbMiscellaneous, rbMiscellaneous},
        {cbQuickSlots, rbQuickSlots}, {cbWizardSpells, rbWizardSpells}, {cbPriestSpells, rbPriestSpells}};
    // The hints name the groups in the texts about functions and keys: words, without access keys.
    for (const auto& [list, radio] : groupCaptions) list->SetHint(radio->CaptionText());

    const std::pair<std::string*, const char*> messages[] = {
        {&msgAdvanced, "msgAdvanced"},     {&msgCacheSize, "msgCacheSize"},       {&msgNoOpenGL, "msgNoOpenGL"},
        {&msgVideo, "msgVideo"},           {&msgVideoGood, "msgVideoGood"},       {&msgVideoBad, "msgVideoBad"},
        {&msgAssigned, "msgAssigned"},     {&msgReassign, "msgReassign"},         {&msgVideoTest, "msgVideoTest"},
        {&msgResetVideo, "msgResetVideo"}, {&msgRunGLSetup, "msgRunGLSetup"},     {&msgUnsupportedRes, "msgUnsupportedRes"},
        {&msg3dAcceleration, "msg3dAcceleration"}};
    for (const auto& [member, key] : messages) *member = LanguageText(key);

    TdlgDifficulty& dialog = *dlgDifficulty;
    dialog.gbDifficulty2->SetCaption(gbDifficulty->Caption());
    // The choices are named as the slider's levels; being choices, they get access keys of their own.
    std::wstring keysTaken;
    const std::pair<TRadioButton*, TLabel*> levels[] = {
        {dialog.rbDifficultyInsane, lExpert}, {dialog.rbDifficultyHard, lHard}, {dialog.rbDifficultyCoreRules, lNormal},
        {dialog.rbDifficultyNormal, lEasy},   {dialog.rbDifficultyNovice, lNovice}};
    for (const auto& [choice, label] : levels) choice->SetCaption(WithAccessKey(label->CaptionText(), keysTaken));
    const std::pair<TLabel*, const char*> descriptions[] = {
        {dialog.lDifficultyDesc, "lDifficultyDesc"}, {dialog.lInsaneDesc, "lInsaneDesc"},
        {dialog.lHardDesc, "lHardDesc"},             {dialog.lCoreDesc, "lCoreDesc"},
        {dialog.lNormalDesc, "lNormalDesc"},         {dialog.lNoviceDesc, "lNoviceDesc"}};
    for (const auto& [label, key] : descriptions) label->SetCaption(LanguageText(key));

    countryCodes = ReadCountryCodes(path);
    for (const std::string& entry : countryCodes) cbCountry->Add(EntryName(entry));
}
