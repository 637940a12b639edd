#pragma once
#include <QString>

namespace dv {

// The component toolkit's own texts: record navigator hints, the search,
// locate and filter dialogs, calendar prompts and the delete confirmation.
// Exactly one prepared set is active: Portuguese, English or Spanish.
enum class ToolkitText {
    // record navigator hints
    NavFirst,
    NavPrior,
    NavNext,
    NavLast,
    NavInsert,
    NavDelete,
    NavEdit,
    NavPost,
    NavCancel,
    NavRefresh,
    DeleteRecordQuestion, // asked by the navigator's delete button
    // incremental search
    SearchLabel,
    // filter dialog
    FilterTitle,
    FilterFields,
    FilterValue,
    FilterMatchType,
    FilterMatchExact,
    FilterMatchStart,
    FilterMatchAnywhere,
    FilterCaseSensitive,
    FilterByValue,
    FilterByRange,
    FilterRangeFrom,
    FilterRangeTo,
    FilterFieldOrder,
    FilterOrderAlphabetic,
    FilterOrderDataset,
    FilterClear,
    FilterClearAll,
    FilterCriteriaHelp, // how to write "or", "and", "null" and "%"
    FilterNoRows,
    // locate dialog
    LocateTitle,
    LocateField,
    LocateValue,
    LocateFirst,
    LocateNext,
    LocateNotFound,
    // buttons shared by the dialogs
    ButtonOk,
    ButtonCancel,
    ButtonClose,
    // calendars and date pickers
    CalendarToday,
    CalendarClear,
    CalendarInvalidDate,

    Count
};

// The set of "pt_BR", "en" or "es"; false (set unchanged) for any other code.
bool selectToolkitTexts(const QString& language);
// Back to the toolkit's built-in (English) set.
void resetToolkitTexts();
QString toolkitText(ToolkitText id);

} // namespace dv
