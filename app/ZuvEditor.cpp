#include "app/ZuvEditor.h"

#include "codec/DocumentPipeline.h"
#include "platform/FileNames.h"
#include "platform/FindFirst.h"
#include "ui/ZuvAboutBox.h"
#include "ui/ZuvExtensionSelector.h"
#include "ui/ZuvFileSelector.h"
#include "ui/ZuvMessageBox.h"
#include "ui/ZuvView.h"

#include <optional>

namespace {

constexpr char kLoadingNotice[] = "\nを、読み込み中で～す";

std::optional<LoadedDocument> TryRead(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                                      const AnsiString& path, KanjiCode stated) {
    try {
        return ReadDocument(newlineFilter, kanjiFilter, path, stated);
    } catch (const BryNewlineFilterIOException&) {
        return std::nullopt;
    }
}

} // namespace

// The view comes first: its form is the first one created and so the main form.
ZuvEditor::ZuvEditor(const TStringList& arguments) {
    newlineFilter = new BryNewlineFilter;
    newlineFilter->SetNewlineType(NewlineType::CR_LF);
    newlineType = NewlineType::CR_LF;
    kanjiFilter = new BryKanjiFilter;
    kanjiFilter->SetSourceCode(KanjiCode::SJIS);
    kanjiFilter->SetTargetCode(KanjiCode::SJIS);
    kanjiCode = KanjiCode::SJIS;
    view = new ZuvView(this);
    aboutBox = new ZuvAboutBox(this);
    messageBox = new ZuvMessageBox(this);
    fileSelector = new ZuvFileSelector(this);
    extensionSelector = new ZuvExtensionSelector(this);
    UpdateStatus();
    view->Show();
    if (!arguments.IsEmpty()) {
        const AnsiString path = ExpandLongPath(arguments.Strings(0));
        if (LoadFile(path, KanjiCode::UNKNOWN))
            fileName = path;
    }
    view->SetModified(false);
    UpdateStatus();
}

ZuvEditor::~ZuvEditor() {
    delete extensionSelector;
    delete fileSelector;
    delete messageBox;
    delete aboutBox;
    delete view;
    delete kanjiFilter;
    delete newlineFilter;
}

bool ZuvEditor::LoadFile(const AnsiString& path, KanjiCode code) {
    std::optional<LoadedDocument> document = TryRead(*newlineFilter, *kanjiFilter, path, code);
    if (!document)
        return false;
    messageBox->ShowNotice(DisplayFileName(path) + kLoadingNotice);
    try {
        view->SetLines(*document->lines);
    } catch (...) {
        messageBox->HideNotice();
        throw;
    }
    messageBox->HideNotice();
    // Recorded only once the text is in the control, so a failed fill keeps the old codes.
    newlineType = document->newlineType;
    kanjiCode = document->kanjiCode;
    return true;
}

bool ZuvEditor::SaveFile(const AnsiString& path, KanjiCode code, NewlineType type) {
    const std::unique_ptr<TStringList> lines = view->GetLines();
    try {
        WriteDocument(*newlineFilter, *kanjiFilter, path, *lines, code, type);
    } catch (const BryNewlineFilterIOException&) {
        return false;
    }
    return true;
}

// Each component becomes the name its directory entry has on disk; a path
// naming no entry stays as given.
AnsiString ZuvEditor::ExpandLongPath(const AnsiString& path) {
    const std::optional<AnsiString> name = FindFirstName(path);
    if (!name)
        return path;
    const AnsiString dir = ExtractFileDir(path);
    if (dir.empty())
        return *name;
    if (dir.back() == '/')
        return dir + *name;
    return ExpandLongPath(dir) + "/" + *name;
}

void ZuvEditor::UpdateStatus() {
    view->ShowStatus(fileName, kanjiCode, newlineType);
}
