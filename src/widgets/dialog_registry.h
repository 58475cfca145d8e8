#pragma once
// The dialogs the main window creates at start-up, kept in creation order.
// A language change re-captions them in that same order; dialogs without
// language texts (the about box) are skipped.

#include <QList>
#include <QString>

class QDialog;

namespace lw {

// A window whose captions come from the language table.
class Lang_Target {
public:
    virtual ~Lang_Target() = default;
    virtual void Set_Lang() = 0;
};

class Dialog_Registry {
public:
    // Appends a dialog; lang is null for a dialog without language texts.
    void Add(QDialog* dialog, Lang_Target* lang);
    // Runs Set_Lang of every registered dialog that has one, in creation order.
    void Set_Lang_All() const;

    // Object names in creation order, and in the order Set_Lang_All uses.
    QStringList Creation_Order() const;
    QStringList Lang_Order() const;

private:
    struct Entry {
        QDialog* dialog;
        Lang_Target* lang;
    };
    QList<Entry> m_entries;
};

} // namespace lw
