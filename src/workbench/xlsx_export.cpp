#include "workbench/xlsx_export.h"

#include "common/exception.h"
#include "workbench/keyword_table.h"

#include <xlsxwriter.h>

#include <QRegularExpression>

#include <cstdio>
#include <memory>

namespace dorvanel::workbench {

namespace {

// A workbook that was never closed is closed (and freed) with whatever it holds when the scope ends.
struct WorkbookClose {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};
using TWorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookClose>;

// A table column's width in pixels as a spreadsheet column's in characters of its default font.
double CharactersWide(int pixels) { return std::max(1.0, pixels / 7.0); }

[[noreturn]] void fail(const std::string& path, lxw_error error) {
    throw Exception("The workbook " + path + " cannot be written: " + lxw_strerror(error));
}

}  // namespace

std::optional<double> CountValue(const QString& text) {
    static const QRegularExpression kCount(QStringLiteral("^(\\d{1,3}(,\\d{3})+|\\d+)( results)?$"));
    const QRegularExpressionMatch match = kCount.match(text);
    if (!match.hasMatch()) return std::nullopt;
    QString digits = match.captured(1);
    digits.remove(QLatin1Char(','));
    // Beyond 15 digits a spreadsheet's number would no longer hold the count exactly: it stays text.
    if (digits.size() > 15) return std::nullopt;
    return digits.toDouble();
}

void WriteXlsx(const skinctrls::TListItems& items, const std::string& path) {
    const std::string temporary = path + ".part";
    TWorkbookPtr workbook(workbook_new(temporary.c_str()));
    if (!workbook) throw Exception("The workbook " + path + " cannot be created.");
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), "Keywords");
    lxw_format* bold = workbook_add_format(workbook.get());
    format_set_bold(bold);
    lxw_format* thousands = workbook_add_format(workbook.get());
    format_set_num_format(thousands, "#,##0");
    const int columns = items.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             CharactersWide(items.Column(c).Width), nullptr);
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), items.Column(c).Caption.toUtf8().constData(), bold);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (int i = 0; i < items.Count(); ++i) {
        const skinctrls::TListItem& item = items.Item(i);
        const auto row = static_cast<lxw_row_t>(i + 1);
        for (int c = 0; c < columns; ++c) {
            const QString& text = c == 0 ? item.Caption : item.SubItem(c - 1);
            const auto col = static_cast<lxw_col_t>(c);
            // The keyword is always text; the row number and the counts are numbers when they read as one.
            const std::optional<double> value = c == 1 ? std::nullopt : CountValue(text);
            lxw_error error;
            if (value) {
                error = worksheet_write_number(sheet, row, col, *value, c == 0 ? nullptr : thousands);
            } else if (text.isEmpty()) {
                error = LXW_NO_ERROR;
            } else {
                error = worksheet_write_string(sheet, row, col, text.toUtf8().constData(), nullptr);
            }
            if (error != LXW_NO_ERROR) fail(path, error);
        }
    }
    const lxw_error closed = workbook_close(workbook.release());
    if (closed != LXW_NO_ERROR) {
        std::remove(temporary.c_str());
        fail(path, closed);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw Exception("The workbook " + path + " cannot be written.");
    }
}

}  // namespace dorvanel::workbench
