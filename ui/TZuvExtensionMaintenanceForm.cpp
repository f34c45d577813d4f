#include "ui/TZuvExtensionMaintenanceForm.h"

#include "ui/FormControls.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

enum Column { ExtensionColumn = 0, KanjiCodeColumn = 1, NewlineTypeColumn = 2 };

// The code whose name the text is, byte for byte; UNKNOWN for any other text.
KanjiCode KanjiCodeNamed(const AnsiString& name) {
    for (KanjiCode code : {KanjiCode::SJIS, KanjiCode::JIS, KanjiCode::EUC}) {
        if (BryKanjiFilter::CodeToName(code) == name) {
            return code;
        }
    }
    return KanjiCode::UNKNOWN;
}

NewlineType NewlineTypeNamed(const AnsiString& name) {
    for (NewlineType type : {NewlineType::CR_LF, NewlineType::CR, NewlineType::LF}) {
        if (BryNewlineFilter::TypeToName(type) == name) {
            return type;
        }
    }
    return NewlineType::UNKNOWN;
}

AnsiString CellText(const QTreeWidgetItem* row, Column column) {
    return ToAnsiString(row->text(column));
}

} // namespace

TZuvExtensionMaintenanceForm::TZuvExtensionMaintenanceForm(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("ZuvExtensionMaintenanceForm"));
    SetCaption("Z.U.V.Editorちゃん 拡張子設定");
    SetDialogFrame(this, 313, 325);
    SetFormFont(this);

    // Created in tab order.
    ExtensionOKButton = AddButton(this, QStringLiteral("OK"), 80, 296, 75, 25);
    ExtensionCancelButton = AddButton(this, QStringLiteral("CANCEL"), 168, 296, 75, 25);
    CreateListView();
    CreateInputFields();

    ConnectHandler(ExtensionOKButton, &QPushButton::clicked, this,
                   [this] { ExtensionOKButtonClick(); });
    ConnectHandler(ExtensionCancelButton, &QPushButton::clicked, this,
                   [this] { ExtensionCancelButtonClick(); });
    ConnectHandler(ExtensionSetButton, &QPushButton::clicked, this,
                   [this] { ExtensionSetButtonClick(); });
    ConnectHandler(ExtensionDeleteButton, &QPushButton::clicked, this,
                   [this] { ExtensionDeleteButtonClick(); });

    CenterOnScreen(this);
}

void TZuvExtensionMaintenanceForm::CreateListView() {
    ExtensionListView = new QTreeWidget(this);
    ExtensionListView->setGeometry(0, 0, 313, 185);
    ExtensionListView->setColumnCount(3);
    ExtensionListView->setHeaderLabels(
        {QStringLiteral("拡張子"), QStringLiteral("漢字コード"), QStringLiteral("改行コード")});
    for (int column = 0; column < 3; ++column) {
        ExtensionListView->setColumnWidth(column, 100);
    }
    ExtensionListView->header()->setStretchLastSection(false);
    ExtensionListView->setRootIsDecorated(false);
    ExtensionListView->setItemsExpandable(false);
    ExtensionListView->setAllColumnsShowFocus(true);
    ExtensionListView->setSelectionMode(QAbstractItemView::SingleSelection);
    ExtensionListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ExtensionListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Clicks anywhere in the list and every key release show the selected row.
    ExtensionListView->viewport()->installEventFilter(this);
    ExtensionListView->installEventFilter(this);
}

void TZuvExtensionMaintenanceForm::CreateInputFields() {
    ExtensionGroupBox = new QGroupBox(QStringLiteral("拡張子設定"), this);
    ExtensionGroupBox->setGeometry(0, 192, 313, 97);
    ExtensionEdit = new QLineEdit(ExtensionGroupBox);
    ExtensionEdit->setGeometry(64, 13, 121, 20);
    ExtensionEditLabel = AddLabel(ExtensionGroupBox, QStringLiteral("拡張子："), 16, 17);
    ExtensionCodeLabel = AddLabel(ExtensionGroupBox, QStringLiteral("漢字コード："), 16, 41);
    ExtensionNewlineLabel = AddLabel(ExtensionGroupBox, QStringLiteral("改行コード："), 16, 65);

    ExtensionCodePanel = AddPanel(this, 80, 228, 161, 25);
    ExtensionSJISButton = AddRadioButton(ExtensionCodePanel, QStringLiteral("SJIS"), 0, 4, 49, 17);
    ExtensionJISButton = AddRadioButton(ExtensionCodePanel, QStringLiteral("JIS"), 56, 4, 49, 17);
    ExtensionEUCButton = AddRadioButton(ExtensionCodePanel, QStringLiteral("EUC"), 112, 4, 49, 17);

    ExtensionNewlinePanel = AddPanel(this, 80, 252, 161, 25);
    ExtensionCRLFButton =
        AddRadioButton(ExtensionNewlinePanel, QStringLiteral("CRLF"), 0, 4, 49, 17);
    ExtensionCRButton = AddRadioButton(ExtensionNewlinePanel, QStringLiteral("CR"), 56, 4, 49, 17);
    ExtensionLFButton = AddRadioButton(ExtensionNewlinePanel, QStringLiteral("LF"), 112, 4, 49, 17);
    ResetInputFields();

    ExtensionSettingPanel = AddPanel(this, 240, 208, 65, 73);
    ExtensionSetButton = AddButton(ExtensionSettingPanel, QStringLiteral("設定"), 6, 8, 59, 25);
    ExtensionDeleteButton = AddButton(ExtensionSettingPanel, QStringLiteral("削除"), 6, 40, 59, 25);
}

void TZuvExtensionMaintenanceForm::ResetInputFields() {
    ExtensionEdit->clear();
    ExtensionSJISButton->setChecked(true);
    ExtensionCRLFButton->setChecked(true);
}

void TZuvExtensionMaintenanceForm::SetExtensionList(const ZuvExtensionList* list) {
    ExtensionListView->clear();
    for (int index = 0; index < list->Count(); ++index) {
        const ZuvExtensionInfo* info = list->GetInfo(index);
        new QTreeWidgetItem(ExtensionListView,
                            {ToQString(info->GetExtension()),
                             ToQString(BryKanjiFilter::CodeToName(info->GetKanjiCode())),
                             ToQString(BryNewlineFilter::TypeToName(info->GetNewlineType()))});
    }
    ResetInputFields();
    SetActiveControl(ExtensionOKButton);
}

std::unique_ptr<ZuvExtensionList> TZuvExtensionMaintenanceForm::GetExtensionList() const {
    auto list = std::make_unique<ZuvExtensionList>();
    for (int index = 0; index < ExtensionListView->topLevelItemCount(); ++index) {
        const QTreeWidgetItem* row = ExtensionListView->topLevelItem(index);
        auto info = std::make_unique<ZuvExtensionInfo>();
        info->SetExtension(CellText(row, ExtensionColumn));
        info->SetKanjiCode(BryKanjiFilter::NameToCode(CellText(row, KanjiCodeColumn)));
        info->SetNewlineType(BryNewlineFilter::NameToType(CellText(row, NewlineTypeColumn)));
        list->AddOrReplace(info.release());
    }
    return list;
}

void TZuvExtensionMaintenanceForm::ShowSelectedItem() {
    const QList<QTreeWidgetItem*> selected = ExtensionListView->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QTreeWidgetItem* row = selected.first();
    ExtensionEdit->setText(row->text(ExtensionColumn));
    const KanjiCode code = KanjiCodeNamed(CellText(row, KanjiCodeColumn));
    if (code == KanjiCode::UNKNOWN) {
        return;
    }
    CheckKanjiCode({ExtensionSJISButton, ExtensionJISButton, ExtensionEUCButton}, code);
    CheckNewlineType({ExtensionCRLFButton, ExtensionCRButton, ExtensionLFButton},
                     NewlineTypeNamed(CellText(row, NewlineTypeColumn)));
}

void TZuvExtensionMaintenanceForm::ExtensionListViewClick() {
    ShowSelectedItem();
}

void TZuvExtensionMaintenanceForm::ExtensionListViewKeyUp(int, Qt::KeyboardModifiers) {
    ShowSelectedItem();
}

void TZuvExtensionMaintenanceForm::ExtensionSetButtonClick() {
    auto info = std::make_unique<ZuvExtensionInfo>();
    info->SetExtension(ToAnsiString(ExtensionEdit->text()));
    const KanjiCode code =
        CheckedKanjiCode({ExtensionSJISButton, ExtensionJISButton, ExtensionEUCButton});
    const NewlineType type =
        CheckedNewlineType({ExtensionCRLFButton, ExtensionCRButton, ExtensionLFButton});
    if (info->GetExtension().empty() || code == KanjiCode::UNKNOWN ||
        type == NewlineType::UNKNOWN) {
        return;
    }
    info->SetKanjiCode(code);
    info->SetNewlineType(type);
    const std::unique_ptr<ZuvExtensionList> list = GetExtensionList();
    list->AddOrReplace(info.release());
    SetExtensionList(list.get());
}

void TZuvExtensionMaintenanceForm::ExtensionDeleteButtonClick() {
    const AnsiString extension =
        ZuvExtensionInfo::NormalizeExtension(ToAnsiString(ExtensionEdit->text()));
    if (extension.empty()) {
        return;
    }
    const std::unique_ptr<ZuvExtensionList> list = GetExtensionList();
    const int index = list->IndexOfExtension(extension);
    if (index < 0) {
        return;
    }
    const std::unique_ptr<ZuvExtensionInfo> removed(list->GetInfo(index));
    list->Delete(index);
    SetExtensionList(list.get());
}

void TZuvExtensionMaintenanceForm::ExtensionOKButtonClick() {
    SetModalResult(mrOk);
}

void TZuvExtensionMaintenanceForm::ExtensionCancelButtonClick() {
    SetModalResult(mrCancel);
}

bool TZuvExtensionMaintenanceForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ExtensionListView->viewport() && event->type() == QEvent::MouseButtonRelease) {
        Guarded([this] { ExtensionListViewClick(); });
    } else if (watched == ExtensionListView && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        Guarded([this, key] { ExtensionListViewKeyUp(key->key(), key->modifiers()); });
    }
    return TForm::eventFilter(watched, event);
}

void TZuvExtensionMaintenanceForm::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        TForm::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        button->click();
    }
    event->accept();
}
