// CToolTipLoc: the tool tips of one dialog, with texts from the language table (by string id
// or English literal, translated when the tip shows). Tips show only while they are enabled:
// by default Setup/"ToolTips"; the configuration dialog passes its own check box instead.
#pragma once

#include "ToolTipTexts.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class CLanguage;
class QWidget;

class CToolTipLoc : public QObject {
    Q_OBJECT
public:
    explicit CToolTipLoc(QObject* parent = nullptr);

    // Uses `language` for the texts and the parent's font for the tips.
    bool CreateWithLanguage(QWidget* parent, const CLanguage& language);

    void AddToolText(QWidget* control, std::string_view english);
    void AddToolId(QWidget* control, int stringId);

    // The translated text a control would show; empty when it has no tool.
    std::string TextFor(QWidget* control) const;

    void SetEnabledSource(std::function<bool()> enabled) { enabled_ = std::move(enabled); }
    bool IsEnabled() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int KeyFor(QWidget* control);

    QPointer<QWidget> parent_;
    std::optional<ToolTipTexts> texts_;
    std::map<const QObject*, int> keys_;  // control -> key in texts_
    int nextKey_ = 1;
    std::function<bool()> enabled_;
};
