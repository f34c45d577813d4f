#include "ui/ZuvView.h"

#include "app/ZuvEditor.h"
#include "registry/BryRegistry.h"

namespace {

constexpr char kViewKey[] = "Software\\BryApp\\ZuvEditorChan\\View";
constexpr char kFontKey[] = "Software\\BryApp\\ZuvEditorChan\\View\\Font";
constexpr std::size_t kFaceNameBytes = 31;

// The first bytes of a UTF-8 name, at most limit, never splitting a character.
AnsiString CutAtCharacter(const AnsiString& name, std::size_t limit) {
    if (name.size() <= limit)
        return name;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
}

} // namespace

ZuvView::ZuvView(ZuvEditor* editor) : editor(editor) {
    form = Application->CreateForm<TZuvViewForm>();
    form->SetView(this);
    LoadWindowSettings();
}

ZuvView::~ZuvView() {
    delete form.data();
}

void ZuvView::Show() {
    form->Show();
}

bool ZuvView::IsModified() const {
    return form->IsModified();
}

void ZuvView::SetModified(bool modified) {
    form->SetModified(modified);
}

std::unique_ptr<TStringList> ZuvView::GetLines() const {
    return form->GetLines();
}

void ZuvView::SetLines(const TStringList& lines) {
    form->SetLines(lines);
}

void ZuvView::ShowStatus(const AnsiString& fileName, KanjiCode kanjiCode, NewlineType newlineType) {
    form->ShowStatus(fileName, BryKanjiFilter::CodeToName(kanjiCode),
                     BryNewlineFilter::TypeToName(newlineType));
}

// Stops at the first value that cannot be read; what was applied before stays.
void ZuvView::LoadWindowSettings() {
    BryRegistry registry;
    TScintillaEdit& edit = *form->ViewEdit;
    const auto changeFont = [&edit](auto change) {
        TFont font = edit.Font();
        change(font);
        edit.SetFont(font);
    };
    try {
        if (registry.OpenKeyPath(kViewKey)) {
            form->SetWidth(registry.ReadInteger("Width"));
            form->SetHeight(registry.ReadInteger("Height"));
            registry.CloseKey();
        }
        if (registry.OpenKeyPath(kFontKey)) {
            const bool italic = registry.ReadBool("Italic");
            const bool bold = registry.ReadBool("Bold");
            const bool underline = registry.ReadBool("Underline");
            const bool strikeOut = registry.ReadBool("Strikeout");
            changeFont([&](TFont& font) {
                font.Italic = italic;
                font.Bold = bold;
                font.Underline = underline;
                font.StrikeOut = strikeOut;
            });
            const int size = registry.ReadInteger("Size");
            changeFont([size](TFont& font) { font.Size = size; });
            const auto color = static_cast<TColor>(registry.ReadInteger("Color"));
            changeFont([color](TFont& font) { font.Color = color; });
            const AnsiString name = CutAtCharacter(registry.ReadString("Name"), kFaceNameBytes);
            if (!name.empty())
                changeFont([&name](TFont& font) { font.Name = name; });
            registry.CloseKey();
        }
    } catch (const Exception&) {
        // A missing or mistyped value keeps the design value from here on.
    }
}

// Stops at the first failed write; what was written before stays.
void ZuvView::SaveWindowSettings() {
    BryRegistry registry;
    const TFont& font = form->ViewEdit->Font();
    try {
        if (registry.OpenKeyPath(kViewKey)) {
            registry.WriteInteger("Width", form->Width());
            registry.WriteInteger("Height", form->Height());
            registry.CloseKey();
        }
        if (registry.OpenKeyPath(kFontKey)) {
            registry.WriteBool("Italic", font.Italic);
            registry.WriteBool("Bold", font.Bold);
            registry.WriteBool("Underline", font.Underline);
            registry.WriteBool("Strikeout", font.StrikeOut);
            registry.WriteInteger("Size", font.Size);
            registry.WriteInteger("Color", static_cast<int>(font.Color));
            registry.WriteString("Name", font.Name);
            registry.CloseKey();
        }
    } catch (const Exception&) {
        // The registry could not be written; the settings stay as far as they got.
    }
}

bool ZuvView::CanClose() {
    return editor->CanClose();
}

void ZuvView::ShowAbout() {
    editor->ShowAbout();
}

bool ZuvView::Open() {
    return editor->Open();
}

bool ZuvView::OpenAs() {
    return editor->OpenAs();
}

bool ZuvView::Save() {
    return editor->Save();
}

bool ZuvView::SaveAs() {
    return editor->SaveAs();
}

void ZuvView::EditExtensions() {
    editor->EditExtensions();
}

void ZuvView::DropFiles(const TStringList& paths) {
    editor->DropFiles(paths);
}

void ZuvView::SaveDefaults() {
    editor->SaveDefaults();
}
