#include "ui/TZuvViewForm.h"

#include "ui/ZuvView.h"

#include <QClipboard>
#include <QDropEvent>
#include <QFont>
#include <QGuiApplication>
#include <QMimeData>

namespace {

constexpr char kTitlePrefix[] = "Z.U.V.Editorちゃん  ";
constexpr char kNewFileTitle[] = "(新規ファイル)";

struct PanelLayout {
    int width;
    Qt::Alignment alignment;
};
constexpr std::array<PanelLayout, 3> kPanelLayouts{{
    {50, Qt::AlignCenter},                  // kanji code
    {60, Qt::AlignCenter},                  // newline type
    {50, Qt::AlignLeft | Qt::AlignVCenter}, // never written
}};

// Length of the valid UTF-8 sequence at text[i], or 0 when none starts there.
std::size_t Utf8SequenceLength(const AnsiString& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    char32_t minimum = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (byte(i + k) & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < minimum || value > 0x10FFFF || surrogate ? 0 : length;
}

QAction* AddItem(QMenu* menu, const char* caption) {
    return menu->addAction(QString::fromUtf8(caption));
}

} // namespace

AnsiString DisplayFileName(const AnsiString& fileName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    AnsiString shown;
    shown.reserve(fileName.size());
    for (std::size_t i = 0; i < fileName.size();) {
        const std::size_t length = Utf8SequenceLength(fileName, i);
        if (length > 0) {
            shown.append(fileName, i, length);
            i += length;
            continue;
        }
        const auto invalid = static_cast<unsigned char>(fileName[i++]);
        shown += "\\x";
        shown += kHex[invalid >> 4];
        shown += kHex[invalid & 0x0F];
    }
    return shown;
}

TZuvViewForm::TZuvViewForm() {
    SetCaption("Z.U.V.Editorちゃん");
    setFont(FontToQFont(TFont{"ＭＳ Ｐゴシック", 9}));
    ViewEdit = new TScintillaEdit(this);
    ViewEdit->SetFont(TFont{"ＭＳ ゴシック", 9});
    ViewEdit->OnDropFiles = [this](const TStringList& paths) { DropFiles(paths); };
    setCentralWidget(ViewEdit);
    ViewFontDialog = new TZuvFontDialog(this);
    CreateMenus();
    CreateStatusBar();
    setAcceptDrops(true);
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    SetSize(524, 560);
    SetActiveControl(ViewEdit);
}

// No item has a shortcut key; the find menu is there but never shown.
void TZuvViewForm::CreateMenus() {
    MainMenu = menuBar();
    MainMenu_File = MainMenu->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    MainMenu_File_Open =
        AddCommand(MainMenu_File, "開く(&O)...", &TZuvViewForm::MainMenu_File_OpenClick);
    MainMenu_File_OpenAs = AddCommand(MainMenu_File, "コードを指定して開く(&C)...",
                                      &TZuvViewForm::MainMenu_File_OpenAsClick);
    MainMenu_File_Save =
        AddCommand(MainMenu_File, "上書き保存(&S)", &TZuvViewForm::MainMenu_File_SaveClick);
    MainMenu_File_SaveAs = AddCommand(MainMenu_File, "名前を付けて保存(&A)...",
                                      &TZuvViewForm::MainMenu_File_SaveAsClick);
    N1 = MainMenu_File->addSeparator();
    MainMenu_File_Exit =
        AddCommand(MainMenu_File, "終了(&X)", &TZuvViewForm::MainMenu_File_ExitClick);

    MainMenu_Edit = MainMenu->addMenu(QStringLiteral("編集(&E)"));
    ConnectHandler(MainMenu_Edit, &QMenu::aboutToShow, this, [this] { MainMenu_EditClick(); });
    MainMenu_Edit_Undo =
        AddCommand(MainMenu_Edit, "元に戻す(&U)", &TZuvViewForm::MainMenu_Edit_UndoClick);
    N2 = MainMenu_Edit->addSeparator();
    MainMenu_Edit_Cut =
        AddCommand(MainMenu_Edit, "切り取り(&T)", &TZuvViewForm::MainMenu_Edit_CutClick);
    MainMenu_Edit_Copy =
        AddCommand(MainMenu_Edit, "コピー(&C)", &TZuvViewForm::MainMenu_Edit_CopyClick);
    MainMenu_Edit_Paste =
        AddCommand(MainMenu_Edit, "張り付け(&P)", &TZuvViewForm::MainMenu_Edit_PasteClick);
    MainMenu_Edit_Delete =
        AddCommand(MainMenu_Edit, "削除(&D)", &TZuvViewForm::MainMenu_Edit_DeleteClick);
    N3 = MainMenu_Edit->addSeparator();
    MainMenu_Edit_SelectAll =
        AddCommand(MainMenu_Edit, "すべて選択(&L)", &TZuvViewForm::MainMenu_Edit_SelectAllClick);

    MainMenu_Find = MainMenu->addMenu(QStringLiteral("検索(&S)"));
    MainMenu_Find_Find = AddItem(MainMenu_Find, "検索(&F)...");
    MainMenu_Find_Replace = AddItem(MainMenu_Find, "検索と置換(&R)...");
    MainMenu_Find->menuAction()->setVisible(false);

    MainMenu_Show = MainMenu->addMenu(QStringLiteral("表示(&V)"));
    MainMenu_Show_Font =
        AddCommand(MainMenu_Show, "フォント(&F)...", &TZuvViewForm::MainMenu_Show_FontClick);

    MainMenu_Option = MainMenu->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    MainMenu_Option_Extension = AddCommand(MainMenu_Option, "拡張子設定(&E)...",
                                           &TZuvViewForm::MainMenu_Option_ExtensionClick);
    MainMenu_Option_Defaults = AddCommand(MainMenu_Option, "デフォルト設定(&E)...",
                                          &TZuvViewForm::MainMenu_Option_DefaultsClick);

    MainMenu_Help = MainMenu->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    MainMenu_Help_About =
        AddCommand(MainMenu_Help, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", &TZuvViewForm::MainMenu_Help_AboutClick);
}

QAction* TZuvViewForm::AddCommand(QMenu* menu, const char* caption,
                                  void (TZuvViewForm::*handler)()) {
    QAction* item = AddItem(menu, caption);
    ConnectHandler(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return item;
}

void TZuvViewForm::FormCloseQuery(bool& canClose) {
    canClose = View->CanClose();
}

void TZuvViewForm::MainMenu_File_ExitClick() {
    Close();
}

void TZuvViewForm::MainMenu_Help_AboutClick() {
    View->ShowAbout();
}

void TZuvViewForm::MainMenu_File_OpenClick() {
    View->Open();
}

void TZuvViewForm::MainMenu_File_OpenAsClick() {
    View->OpenAs();
}

void TZuvViewForm::MainMenu_File_SaveClick() {
    View->Save();
}

void TZuvViewForm::MainMenu_File_SaveAsClick() {
    View->SaveAs();
}

void TZuvViewForm::MainMenu_Option_ExtensionClick() {
    View->EditExtensions();
}

void TZuvViewForm::MainMenu_Option_DefaultsClick() {
    View->SaveDefaults();
}

// The font lasts for this run; only the default-settings command stores it.
void TZuvViewForm::MainMenu_Show_FontClick() {
    ViewFontDialog->SetFont(ViewEdit->Font());
    if (ViewFontDialog->Execute())
        ViewEdit->SetFont(ViewFontDialog->Font());
}

void TZuvViewForm::MainMenu_Edit_UndoClick() {
    ViewEdit->Undo();
}

void TZuvViewForm::MainMenu_Edit_CutClick() {
    ViewEdit->CutToClipboard();
}

void TZuvViewForm::MainMenu_Edit_CopyClick() {
    ViewEdit->CopyToClipboard();
}

void TZuvViewForm::MainMenu_Edit_PasteClick() {
    ViewEdit->PasteFromClipboard();
}

void TZuvViewForm::MainMenu_Edit_DeleteClick() {
    ViewEdit->ClearSelection();
}

void TZuvViewForm::MainMenu_Edit_SelectAllClick() {
    ViewEdit->SelectAll();
}

// Run each time the Edit menu opens.
void TZuvViewForm::MainMenu_EditClick() {
    const bool selected = ViewEdit->SelLength() > 0;
    MainMenu_Edit_Cut->setEnabled(selected);
    MainMenu_Edit_Copy->setEnabled(selected);
    MainMenu_Edit_Delete->setEnabled(selected);
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    MainMenu_Edit_Paste->setEnabled(clipboard != nullptr && clipboard->hasText());
    MainMenu_Edit_Undo->setEnabled(true);
}

void TZuvViewForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).IsEmpty())
        event->acceptProposedAction();
}

void TZuvViewForm::dropEvent(QDropEvent* event) {
    const TStringList paths = DroppedFiles(event->mimeData());
    if (paths.IsEmpty())
        return;
    event->acceptProposedAction();
    Guarded([&] { DropFiles(paths); });
}

void TZuvViewForm::DropFiles(const TStringList& paths) {
    View->DropFiles(paths);
}

void TZuvViewForm::CreateStatusBar() {
    ViewStatusBar = new QStatusBar(this);
    ViewStatusBar->setSizeGripEnabled(true);
    for (std::size_t i = 0; i < statusPanels.size(); ++i) {
        auto* panel = new QLabel(ViewStatusBar);
        panel->setFixedWidth(kPanelLayouts[i].width);
        panel->setAlignment(kPanelLayouts[i].alignment);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        ViewStatusBar->addWidget(panel);
        statusPanels[i] = panel;
    }
    setStatusBar(ViewStatusBar);
}

bool TZuvViewForm::IsModified() const {
    return ViewEdit->Modified();
}

void TZuvViewForm::SetModified(bool modified) {
    ViewEdit->SetModified(modified);
}

std::unique_ptr<TStringList> TZuvViewForm::GetLines() const {
    return ViewEdit->GetLines();
}

void TZuvViewForm::SetLines(const TStringList& lines) {
    ViewEdit->SetLines(lines);
}

void TZuvViewForm::ShowStatus(const AnsiString& fileName, const AnsiString& kanjiCodeName,
                              const AnsiString& newlineTypeName) {
    SetCaption(kTitlePrefix +
               (fileName.empty() ? AnsiString(kNewFileTitle) : DisplayFileName(fileName)));
    statusPanels[0]->setText(QString::fromStdString(kanjiCodeName));
    statusPanels[1]->setText(QString::fromStdString(newlineTypeName));
}

AnsiString TZuvViewForm::StatusText(int panel) const {
    return statusPanels.at(std::size_t(panel))->text().toStdString();
}
