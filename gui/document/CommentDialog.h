#pragma once

#include "document/CommentSettings.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QString;

namespace kestrel {

// "コメント設定": the two comment lines and their heights. OK reads the
// boxes back; a value that cannot be taken keeps the dialog open with a
// message and the focus on that box.
class CCommentDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCommentDlg(const CommentSettings& initial, QWidget* parent = nullptr);

    // The values confirmed with OK; the initial ones until then.
    const CommentSettings& Settings() const { return settings_; }

    // Shows a warning to the user; tests replace the message box.
    using MessageSink = std::function<void(const QString&)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

public slots:
    void accept() override;

private:
    // The box's text in code page 932: the stored bytes themselves while the
    // text is the one the dialog opened with (so bytes that have no exact
    // Unicode form survive), nothing when a character cannot be stored.
    std::optional<std::string> LineOf(const QLineEdit& box, const std::string& stored) const;
    QLineEdit* BoxOf(CommentField field) const;
    void Warn(const QString& text);

    CommentSettings settings_;
    QLineEdit* line1Text_;
    QLineEdit* line1Height_;
    QLineEdit* line2Text_;
    QLineEdit* line2Height_;
    MessageSink messageSink_;
};

}  // namespace kestrel
