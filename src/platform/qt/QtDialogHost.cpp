#include "platform/qt/QtDialogHost.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "platform/PixelBuffer.h"
#include "platform/qt/QtDialogControls.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtText.h"

namespace wendra::platform::qt {

namespace {

// Dialog units: a quarter of the average character width, an eighth of its height.
struct DialogUnits {
    int charWidth;
    int charHeight;
    QRect toPixels(const Rect& r) const {
        return QRect(r.left * charWidth / 4, r.top * charHeight / 8, r.width() * charWidth / 4,
                     r.height() * charHeight / 8);
    }
};

// Enter, Escape and the close box become the commands the procedure expects, and
// only the procedure closes the dialog.
class TemplateDialog final : public QDialog {
public:
    explicit TemplateDialog(QWidget* parent) : QDialog(parent) {}
    QtDialogControls* controls = nullptr;
    DialogProcedure* procedure = nullptr;
    bool hasDefaultButton = false;

    void reject() override { command(kIdCancel); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !hasDefaultButton && event->modifiers() == Qt::NoModifier) {
            command(kIdOk);
            return;
        }
        QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (!controls->ended()) {
            event->ignore();
            command(kIdCancel);
        }
    }

private:
    void command(int id) {
        if (!controls->ended()) procedure->command(*controls, id);
    }
};

class OwnerDrawnArea final : public QWidget {
public:
    OwnerDrawnArea(QWidget* parent, int id, QtDialogControls& controls, DialogProcedure& procedure)
        : QWidget(parent), id_(id), controls_(controls), procedure_(procedure) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        buffer_.reset(Size{width(), height()});
        {
            QtDrawingSurface surface(buffer_);
            procedure_.paint(controls_, id_, surface);
            surface.flush();
            QPainter screen(this);
            screen.drawImage(0, 0, surface.image());
        }
    }
    void mousePressEvent(QMouseEvent* event) override { stylus(NotifyCode::StylusDown, event); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton) stylus(NotifyCode::StylusMove, event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override { stylus(NotifyCode::StylusUp, event); }

private:
    void stylus(NotifyCode code, QMouseEvent* event) {
        const QPoint at = event->position().toPoint();
        if (!controls_.ended())
            procedure_.notify(controls_, id_, Notification{code, kNoTreeItem, {at.x(), at.y()}});
    }

    int id_;
    QtDialogControls& controls_;
    DialogProcedure& procedure_;
    PixelBuffer buffer_;
};

class DialogBuilder {
public:
    DialogBuilder(TemplateDialog& dialog, QtDialogControls& controls, DialogProcedure& procedure)
        : dialog_(dialog), controls_(controls), procedure_(procedure) {
        const QFontMetrics metrics(dialog.font());
        units_ =
            DialogUnits{std::max(metrics.averageCharWidth(), 1), std::max(metrics.height(), 1)};
    }

    void build(const DialogTemplate& description) {
        dialog_.setWindowTitle(toQString(description.title));
        const QRect area =
            units_.toPixels(Rect{0, 0, description.size.width, description.size.height});
        dialog_.setFixedSize(area.size());
        for (const ControlTemplate& control : description.controls) {
            QWidget* widget = make(control);
            widget->setObjectName(QStringLiteral("control-%1").arg(control.id));
            widget->setGeometry(units_.toPixels(control.bounds));
            widget->setEnabled((control.style & style::kDisabled) == 0);
            widget->setVisible((control.style & style::kHidden) == 0);
            controls_.add(control.id, widget);
        }
    }

private:
    void command(int id) {
        if (!controls_.ended()) procedure_.command(controls_, id);
    }
    void notify(int id, Notification what) {
        if (!controls_.ended()) procedure_.notify(controls_, id, what);
    }

    QWidget* make(const ControlTemplate& control) {
        const int id = control.id;
        const QString text = toQString(control.text);
        switch (control.kind) {
            case ControlKind::Button: {
                auto* button = new QPushButton(text, &dialog_);
                button->setAutoDefault(false);
                if (control.style & style::kDefaultButton) {
                    button->setDefault(true);
                    dialog_.hasDefaultButton = true;
                }
                QObject::connect(button, &QPushButton::clicked, &dialog_,
                                 [this, id] { command(id); });
                return button;
            }
            case ControlKind::CheckBox: {
                auto* box = new QCheckBox(text, &dialog_);
                QObject::connect(box, &QCheckBox::clicked, &dialog_, [this, id] { command(id); });
                return box;
            }
            case ControlKind::Radio:
                return makeRadio(control, text);
            case ControlKind::Edit:
                return makeEdit(control, text);
            case ControlKind::List: {
                auto* list = new QListWidget(&dialog_);
                QObject::connect(list, &QListWidget::currentRowChanged, &dialog_,
                                 [this, id] { notify(id, {NotifyCode::SelectionChanged}); });
                QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog_,
                                 [this, id] { notify(id, {NotifyCode::DoubleClicked}); });
                return list;
            }
            case ControlKind::Combo:
                return makeCombo(control);
            case ControlKind::Tree:
                return makeTree(id);
            case ControlKind::Label: {
                auto* label = new QLabel(text, &dialog_);
                label->setWordWrap(true);
                label->setTextFormat(Qt::PlainText);
                return label;
            }
            case ControlKind::OwnerDrawn:
                return new OwnerDrawnArea(&dialog_, id, controls_, procedure_);
        }
        return new QWidget(&dialog_);
    }

    QWidget* makeRadio(const ControlTemplate& control, const QString& text) {
        auto* radio = new QRadioButton(text, &dialog_);
        if (!group_ || (control.style & style::kGroupStart)) group_ = new QButtonGroup(&dialog_);
        group_->addButton(radio);
        const int id = control.id;
        QObject::connect(radio, &QRadioButton::clicked, &dialog_, [this, id] { command(id); });
        return radio;
    }

    QWidget* makeEdit(const ControlTemplate& control, const QString& text) {
        const int id = control.id;
        if (control.style & style::kMultiLine) {
            auto* edit = new QPlainTextEdit(text, &dialog_);
            edit->setReadOnly(control.style & style::kReadOnly);
            QObject::connect(edit, &QPlainTextEdit::textChanged, &dialog_,
                             [this, id] { notify(id, {NotifyCode::Changed}); });
            return edit;
        }
        auto* edit = new QLineEdit(text, &dialog_);
        edit->setReadOnly(control.style & style::kReadOnly);
        QObject::connect(edit, &QLineEdit::textEdited, &dialog_,
                         [this, id] { notify(id, {NotifyCode::Changed}); });
        return edit;
    }

    QWidget* makeCombo(const ControlTemplate& control) {
        const int id = control.id;
        auto* combo = new QComboBox(&dialog_);
        combo->setEditable(control.style & style::kEditableCombo);
        QObject::connect(combo, &QComboBox::activated, &dialog_,
                         [this, id] { notify(id, {NotifyCode::SelectionChanged}); });
        if (QLineEdit* edit = combo->lineEdit())
            QObject::connect(edit, &QLineEdit::textEdited, &dialog_,
                             [this, id] { notify(id, {NotifyCode::Changed}); });
        return combo;
    }

    QWidget* makeTree(int id) {
        auto* tree = new QTreeWidget(&dialog_);
        tree->setHeaderHidden(true);
        tree->setColumnCount(1);
        QObject::connect(
            tree, &QTreeWidget::itemExpanded, &dialog_, [this, id](QTreeWidgetItem* item) {
                notify(id, {NotifyCode::Expanding, controls_.handleOf(item)});
                // An opened folder that turned out empty stops offering to open.
                if (item->childCount() == 0)
                    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
            });
        QObject::connect(tree, &QTreeWidget::currentItemChanged, &dialog_,
                         [this, id](QTreeWidgetItem* item) {
                             notify(id, {NotifyCode::SelectionChanged, controls_.handleOf(item)});
                         });
        QObject::connect(tree, &QTreeWidget::itemDoubleClicked, &dialog_,
                         [this, id](QTreeWidgetItem* item) {
                             notify(id, {NotifyCode::DoubleClicked, controls_.handleOf(item)});
                         });
        return tree;
    }

    TemplateDialog& dialog_;
    QtDialogControls& controls_;
    DialogProcedure& procedure_;
    DialogUnits units_{};
    QButtonGroup* group_ = nullptr;
};

}  // namespace

int QtDialogHost::run(const DialogTemplate& description, DialogProcedure& procedure) {
    TemplateDialog dialog(parent_.data());
    QtDialogControls controls(dialog, procedure);
    dialog.controls = &controls;
    dialog.procedure = &procedure;
    // The builder's connections call back into it: it lives as long as the dialog.
    DialogBuilder builder(dialog, controls, procedure);
    builder.build(description);
    procedure.init(controls);
    if (!controls.ended()) dialog.exec();
    return controls.ended() ? controls.result() : kIdCancel;
}

}  // namespace wendra::platform::qt
