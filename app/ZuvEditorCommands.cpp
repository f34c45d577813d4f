// The user's commands: their questions, dialogs and the document bookkeeping
// around the load and save pipelines.
#include "app/ZuvEditor.h"

#include "platform/FileNames.h"
#include "settings/ZuvExtensionManager.h"
#include "ui/ZuvAboutBox.h"
#include "ui/ZuvExtensionSelector.h"
#include "ui/ZuvFileSelector.h"
#include "ui/ZuvMessageBox.h"
#include "ui/ZuvView.h"

namespace {

constexpr char kSaveQuestion[] = "更新されてるよ。\n保存する？";
constexpr char kOverwriteQuestion[] = "\nに上書きするの？";
constexpr char kSaveCodesNotice[] = " の\n漢字コードを指定してね。\n保存するよ。";
constexpr char kOpenCodeNotice[] = " の\n漢字コードを指定してね。\n読み込むよ。";
constexpr char kDefaultsQuestion[] = "今のウインドウサイズとフォントを\nデフォルトとして保存する？";
constexpr char kCloseQuestion[] = "まだ保存してないよ。\n本当に終了していいの？";

} // namespace

template <class Command> bool ZuvEditor::Refreshed(Command command) {
    const bool done = command();
    UpdateStatus();
    return done;
}

bool ZuvEditor::Open() {
    return Refreshed([this] { return OpenFile(false); });
}

bool ZuvEditor::OpenAs() {
    return Refreshed([this] { return OpenFile(true); });
}

bool ZuvEditor::Save() {
    return Refreshed([this] {
        return WriteChecked(fileName.empty() ? fileSelector->SelectSaveFileName() : fileName);
    });
}

bool ZuvEditor::SaveAs() {
    return Refreshed([this] {
        const AnsiString path = fileSelector->SelectSaveFileName();
        if (path.empty())
            return false;
        extensionSelector->SetKanjiCode(kanjiCode);
        extensionSelector->SetNewlineType(newlineType);
        return ConfirmSaveCodes(path) && WriteAs(path);
    });
}

// Only the first file is opened, as the file manager gives its path.
void ZuvEditor::DropFiles(const TStringList& paths) {
    Refreshed([&] {
        return !paths.IsEmpty() && QuerySave() && ReadInto(paths.Strings(0), KanjiCode::UNKNOWN);
    });
}

void ZuvEditor::EditExtensions() {
    ZuvExtensionManager manager;
    if (manager.EditSettings())
        manager.SaveSettings();
}

void ZuvEditor::SaveDefaults() {
    if (messageBox->AskYesNo(kDefaultsQuestion) == AnswerYes)
        view->SaveWindowSettings();
}

void ZuvEditor::ShowAbout() {
    aboutBox->Show();
}

bool ZuvEditor::CanClose() {
    return !view->IsModified() || messageBox->AskYesNo(kCloseQuestion) == AnswerYes;
}

bool ZuvEditor::QuerySave() {
    if (!view->IsModified() || messageBox->AskYesNo(kSaveQuestion) != AnswerYes)
        return true;
    const bool overwrite =
        !fileName.empty() &&
        messageBox->AskYesNo(DisplayFileName(fileName) + kOverwriteQuestion) == AnswerYes;
    return WriteChecked(overwrite ? fileName : fileSelector->SelectSaveFileName());
}

bool ZuvEditor::OpenFile(bool askKanjiCode) {
    if (!QuerySave())
        return false;
    const AnsiString path = fileSelector->SelectOpenFileName();
    if (path.empty())
        return false;
    if (!askKanjiCode)
        return ReadInto(path, KanjiCode::UNKNOWN);
    // Preset with the open document's code, not an extension setting.
    extensionSelector->SetKanjiCode(kanjiCode);
    return extensionSelector->ExecuteForOpen(DisplayFileName(path) + kOpenCodeNotice) &&
           ReadInto(path, extensionSelector->GetKanjiCode());
}

bool ZuvEditor::ReadInto(const AnsiString& path, KanjiCode code) {
    if (!LoadFile(path, code))
        return false;
    fileName = path;
    view->SetModified(false);
    return true;
}

// Writes to path, empty when the user cancelled, after the extension check.
bool ZuvEditor::WriteChecked(const AnsiString& path) {
    return !path.empty() && SettleCodesForExtension(path) && WriteAs(path);
}

bool ZuvEditor::WriteAs(const AnsiString& path) {
    if (!SaveFile(path, kanjiCode, newlineType))
        return false;
    view->SetModified(false);
    fileName = path;
    return true;
}

// Asks only when the extension has a setting that differs from the document's codes.
bool ZuvEditor::SettleCodesForExtension(const AnsiString& path) {
    const ZuvExtensionManager manager;
    const ZuvExtensionInfo* setting = manager.FindByExtension(ExtractFileExt(path));
    if (!setting ||
        (setting->GetKanjiCode() == kanjiCode && setting->GetNewlineType() == newlineType))
        return true;
    extensionSelector->SetKanjiCode(setting->GetKanjiCode());
    extensionSelector->SetNewlineType(setting->GetNewlineType());
    return ConfirmSaveCodes(path);
}

// The confirmed codes become the document's at once, even if the write then fails.
bool ZuvEditor::ConfirmSaveCodes(const AnsiString& path) {
    if (!extensionSelector->ExecuteForSave(DisplayFileName(path) + kSaveCodesNotice))
        return false;
    kanjiCode = extensionSelector->GetKanjiCode();
    newlineType = extensionSelector->GetNewlineType();
    return true;
}
