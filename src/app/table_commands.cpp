// The main window's commands on the table beyond its buttons: the table's popup menu, the window's
// shortcuts, and what they run (copying rows to the clipboard, removing duplicates, resuming a stopped
// Gather Data, opening results from CSV, restoring the table kept at the last close). Like every command
// they run inside the command guard, and none but Copy runs while a transfer runs.
#include "app/main_window.h"

#include "common/exception.h"
#include "common/failure_report.h"
#include "skindialogs/file_dialog.h"
#include "workbench/csv_export.h"
#include "workbench/csv_import.h"
#include "workbench/kept_table.h"
#include "workbench/keyword_table.h"
#include "workbench/table_operations.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QShortcut>

#include <algorithm>
#include <functional>
#include <string>

namespace dorvanel::app {

using skinctrls::TSkinMenuItem;

namespace {

// A command of the table: guarded, and refused while a transfer runs unless it only reads the table.
std::function<void()> TableCommand(harvest::TPageFetcher& fetcher, bool duringTransfer, std::function<void()> run) {
    return [&fetcher, duringTransfer, run = std::move(run)] {
        if (!duringTransfer && fetcher.TransferRunning()) return;
        common::RunGuarded(run);
    };
}

}  // namespace

void TfrmMain::ConnectTableCommands() {
    skinctrls::TSkinListView* list = FControls.lvwItems;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, list](const QPoint& pos) { lvwItemsContextPopup(list->viewport()->mapToGlobal(pos)); });
    // The open dialog is kept, so that it opens again in the folder last used.
    FOpenDialog = new skindialogs::TSkinOpenDialog(this);
    FOpenDialog->setObjectName(QStringLiteral("SkinOpenDialog1"));
    FOpenDialog->Title = QStringLiteral("Open file");
    FOpenDialog->Filter = QStringLiteral("CSV files (*.csv)|*.csv|All files|*.*");
    FOpenDialog->SetSkinData(FControls.SkinData1);
    FOpenDialog->SetCtrlSkinData(FControls.SkinData1);
    FOpenDialog->SetMessages(FControls.msgMain);
    // The table would take Ctrl+A (and its other keys) for itself before the window's shortcuts see them.
    list->installEventFilter(this);
    FTableMenu = new skinctrls::TSkinPopupMenu(this);
    FTableMenu->setObjectName(QStringLiteral("TableMenu"));
    FTableMenu->SetSkinData(FControls.SkinData1);
    const struct {
        QKeySequence keys;
        bool duringTransfer;
        void (TfrmMain::*handler)();
    } shortcuts[] = {
        {QKeySequence::Copy, true, &TfrmMain::CopyRowsClick},
        {QKeySequence::SelectAll, false, &TfrmMain::SkinButton1Click},
        {QKeySequence(Qt::Key_Delete), false, &TfrmMain::SkinButton3Click},
    };
    for (const auto& s : shortcuts) {
        auto* shortcut = new QShortcut(s.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this,
                TableCommand(FFetcher, s.duringTransfer, [this, handler = s.handler] { (this->*handler)(); }));
    }
}

void TfrmMain::lvwItemsContextPopup(const QPoint& globalPos) {
    const auto item = [this](const char* caption, bool duringTransfer, void (TfrmMain::*handler)()) {
        return TSkinMenuItem{QString::fromLatin1(caption), true, false,
                             TableCommand(FFetcher, duringTransfer, [this, handler] { (this->*handler)(); })};
    };
    FTableMenu->Clear();
    FTableMenu->Add(item("&Copy", true, &TfrmMain::CopyRowsClick));
    FTableMenu->Add(item("Select &All", false, &TfrmMain::SkinButton1Click));
    FTableMenu->Add(item("&Delete Selected", false, &TfrmMain::SkinButton3Click));
    FTableMenu->Add(item("Remove D&uplicates", false, &TfrmMain::RemoveDuplicatesClick));
    FTableMenu->Add(item("&Gather Data for Rows Without Counts...", false, &TfrmMain::GatherDataWithoutCountsClick));
    FTableMenu->Add(item("&Open Results...", false, &TfrmMain::OpenResultsClick));
    if (workbench::KeptTableExists()) {
        FTableMenu->Add(item("&Restore Last Table", false, &TfrmMain::RestoreLastTableClick));
    }
    FTableMenu->Popup(globalPos);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FControls.lvwItems && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy) || key->key() == Qt::Key_Delete) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::vector<int> TfrmMain::RowsToCopy() {
    std::vector<int> rows;
    if (QItemSelectionModel* selection = FControls.lvwItems->selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows()) rows.push_back(index.row());
    }
    if (rows.empty()) {
        for (int i = 0; i < Items().Count(); ++i) {
            if (Items().Item(i).Checked) rows.push_back(i);
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfrmMain::CopyRowsClick() {
    const std::vector<int> rows = RowsToCopy();
    if (rows.empty()) return;
    auto* mime = new QMimeData;
    mime->setText(workbench::BuildTabText(Items(), rows));
    const std::string csv = workbench::BuildCsv(Items(), rows);
    mime->setData(QStringLiteral("text/csv"), QByteArray(csv.data(), static_cast<qsizetype>(csv.size())));
    QApplication::clipboard()->setMimeData(mime);
}

void TfrmMain::RemoveDuplicatesClick() {
    const int removed = workbench::RemoveDuplicates(Items());
    FLink.RowsAdded();
    FControls.MainStatusPanel->SetCaption(QStringLiteral("%1 duplicate rows removed").arg(removed));
}

void TfrmMain::GatherDataWithoutCountsClick() { GatherData(true); }

void TfrmMain::OpenResultsClick() {
    if (!FOpenDialog->RunDialog()) return;
    try {
        workbench::AppendCsvFile(Items(), FOpenDialog->FileName);
    } catch (const Exception& e) {
        ShowMessage(QString::fromLocal8Bit(e.what()));
    }
    FLink.RowsAdded();
}

void TfrmMain::RestoreLastTableClick() {
    try {
        workbench::AppendCsvFile(Items(), workbench::KeptTablePath());
    } catch (const Exception& e) {
        ShowMessage(QString::fromLocal8Bit(e.what()));
    }
    FLink.RowsAdded();
}

void TfrmMain::KeepUnsavedTable() {
    if (Items().Count() == 0) return;
    const std::string csv = workbench::BuildCsv(Items());
    if (std::hash<std::string>()(csv) == FSavedTable) return;
    try {
        workbench::KeepTable(Items());
    } catch (const Exception&) {
        // A table that cannot be kept must not keep the window open; nothing else can be done at close.
    }
}

}  // namespace dorvanel::app
