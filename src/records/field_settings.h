#pragma once

#include "records/field_catalogue.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QPushButton;
class TKWEdit;

// Places of the configuration: 1 … 20 the grid, 21 the address line, 26 the note line.
constexpr int kAddressPlace = 21;
constexpr int kNotePlace = 26;

// How a field is entered: typed freely or picked from a list.
inline const QString kTypedInput = QStringLiteral("直接输入");
inline const QString kPickedInput = QStringLiteral("选择输入");

struct InputModeRule
{
    QString mode;
    bool fixed = false;
};

// The input mode the field dialog opens with for a place's current field.
InputModeRule StartingInputMode(const QString& fieldName, const QString& findType);
// The input mode another choice brings; nullopt when the operator may choose.
std::optional<QString> InputModeForChoice(const QString& choice);
// The place's row; a key place (1, 21, 26) without one gets its key field
// with the starting caption; a free place gives nullopt.
std::optional<CatalogueRow> ReadPlaceRow(int place);

// What the operator asks of a place in the field dialog.
struct PlaceFieldChange
{
    int place = 0;
    QString oldField; // empty for a free place
    QString caption;
    QString choice;
    QString inputMode;
    bool sortField = false;
    bool choiceUsable = true; // false for the key fields
};

struct PlaceFieldOutcome
{
    bool accepted = false;
    bool removed = false;      // the place is free now
    QString message;           // the refusal, shown as a warning
    bool focusCaption = false; // the refusal concerns the caption
};

// Checks and writes one place of the catalogue. A refused change leaves
// the catalogue as it was.
PlaceFieldOutcome ApplyPlaceFieldChange(const PlaceFieldChange& change);

// "字段选择窗口": the field of one place.
class TSelectClientFieldForm : public QDialog
{
    Q_OBJECT
public:
    TSelectClientFieldForm(int place, const std::optional<CatalogueRow>& current,
                           QWidget* parent = nullptr);
    // The place's caption after an accepted dialog; empty when it was freed.
    QString NewCaption() const { return m_newCaption; }

    TKWEdit* Caption() const { return m_caption; }
    QComboBox* Choice() const { return m_choice; }
    QComboBox* InputMode() const { return m_mode; }
    QCheckBox* SortField() const { return m_sort; }

private:
    void choiceChanged(const QString& choice);
    void accept() override;

    int m_place;
    QString m_oldField;
    TKWEdit* m_caption = nullptr;
    QComboBox* m_choice = nullptr;
    QComboBox* m_mode = nullptr;
    QCheckBox* m_sort = nullptr;
    QString m_newCaption;
};

// "客户资料字段设置窗口": the editor's field area with a button in front of
// every place; a button opens the field dialog for its place.
class TSetClientFieldForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSetClientFieldForm(QWidget* parent = nullptr);
    // Set once any place was opened, whatever the dialog's outcome.
    bool Changed() const { return m_changed; }
    QPushButton* PlaceButton(int place) const;
    // The disabled control standing for the field in a place, if any.
    QWidget* PlacePreview(int place) const;

private:
    void openPlace(int place);
    void showPreview(int place, const QString& fieldName);

    QHash<int, QPushButton*> m_buttons;
    QHash<int, QWidget*> m_previews;
    QWidget* m_area = nullptr;
    bool m_changed = false;
};
