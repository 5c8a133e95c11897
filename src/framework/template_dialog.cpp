#include "framework/template_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QValidator>

#include <algorithm>

#include "framework/code_page.h"
#include "framework/qt_text.h"

namespace daybrook {
namespace {

// Edit fields take only what an entry record can store.
class CodePageValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return std::all_of(input.begin(), input.end(), in_code_page) ? Acceptable : Invalid;
    }
};

QLabel* make_static(const ControlTemplate& item, QWidget* parent) {
    auto* label = new QLabel(qt_text(item.text), parent);
    const Qt::Alignment across = item.kind == ControlKind::static_centre  ? Qt::AlignHCenter
                                 : item.kind == ControlKind::static_right ? Qt::AlignRight
                                                                          : Qt::AlignLeft;
    label->setAlignment(across | Qt::AlignTop);
    label->setWordWrap(item.kind == ControlKind::static_centre || (item.style & word_wrap));
    if (item.style & bordered) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setMargin(2);
    }
    return label;
}

QLabel* make_icon(const ControlTemplate& item, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setPixmap(QPixmap(qt_text(item.text)));
    picture->setScaledContents(true);
    return picture;
}

QLineEdit* make_edit(const ControlTemplate& item, QWidget* parent) {
    auto* edit = new QLineEdit(qt_text(item.text), parent);
    if (item.text_limit > 0) edit->setMaxLength(item.text_limit);
    edit->setValidator(new CodePageValidator(edit));
    return edit;
}

// A list marks the line the keyboard is on with a dotted frame whenever the list has the
// keyboard: the style may draw its own mark faintly, or only after Tab, and whoever chooses
// lines by keyboard must see where Space and Enter act.
class FocusMarkDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (!(option.state & QStyle::State_HasFocus)) return;
        const bool chosen = option.state & QStyle::State_Selected;
        QPen dots(option.palette.color(chosen ? QPalette::HighlightedText : QPalette::Text), 0, Qt::CustomDashLine);
        dots.setDashPattern({1, 1});
        painter->save();
        painter->setPen(dots);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

// The frame of a dialog's radio buttons, drawn as nothing: it is there for a screen reader,
// which names the buttons together by it.
class ChoiceGroup final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {}
};

QAbstractItemView::SelectionMode selection_mode(unsigned style) {
    if (style & multiple_selection) return QAbstractItemView::MultiSelection;
    if (style & extended_selection) return QAbstractItemView::ExtendedSelection;
    return QAbstractItemView::SingleSelection;
}

QListWidget* make_list(const ControlTemplate& item, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(selection_mode(item.style));
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Lines of one height let a list of thousands of lines lay out and scroll without measuring
    // every line.
    list->setUniformItemSizes(true);
    list->setItemDelegate(new FocusMarkDelegate(list));
    return list;
}

QCheckBox* make_check_box(const ControlTemplate& item, QWidget* parent) {
    auto* box = new QCheckBox(qt_text(item.text), parent);
    if (item.style & label_left) box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

int wrapped_height(const QLabel& label, int width) {
    const QRect box(0, 0, width, QWIDGETSIZE_MAX);
    return label.fontMetrics().boundingRect(box, int(label.alignment()) | Qt::TextWordWrap, label.text()).height();
}

// What a label's frame and margin take from its size, both sides together.
QSize label_chrome(const QLabel& label) {
    const int margin = label.margin();
    const QRect text_area = label.contentsRect().marginsRemoved(QMargins(margin, margin, margin, margin));
    return label.size() - text_area.size();
}

// A wrapped text that this font makes longer than its place first widens, away from the side it
// is aligned to (about its centre when centred), by up to half as much again and never past the
// dialog's edges; then it takes the lines it still needs below.
void grow_to_fit(QWidget* widget) {
    auto* label = qobject_cast<QLabel*>(widget);
    if (!label || !label->wordWrap()) return;
    QRect place = label->geometry();
    const QSize chrome = label_chrome(*label);
    const auto needed_height = [&](int width) { return wrapped_height(*label, width - chrome.width()) + chrome.height(); };
    const QRect dialog = label->parentWidget()->rect();
    const Qt::Alignment across = label->alignment() & Qt::AlignHorizontal_Mask;
    const QMargins widening = across == Qt::AlignLeft ? QMargins(0, 0, 4, 0)
                              : across == Qt::AlignRight ? QMargins(4, 0, 0, 0)
                                                         : QMargins(2, 0, 2, 0);
    const int widest = place.width() * 3 / 2;
    while (needed_height(place.width()) > place.height() && place.width() < widest) {
        const QRect wider = place.marginsAdded(widening);
        if (!dialog.contains(wider)) break;
        place = wider;
    }
    place.setHeight(std::max(place.height(), needed_height(place.width())));
    label->setGeometry(place);
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& layout, QWidget* parent) : QDialog(parent) {
    setWindowTitle(qt_text(layout.caption));
    Qt::WindowFlags frame = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (!(layout.style & no_close_box)) frame |= Qt::WindowCloseButtonHint;
    setWindowFlags(frame);
    QFont dialog_font = font();
    dialog_font.setPointSize(layout.font_points);
    if (layout.style & heavy_font) dialog_font.setWeight(QFont::Black);
    setFont(dialog_font);
    const QFontMetrics metrics(dialog_font);
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    m_x_scale = metrics.horizontalAdvance(letters) / double(letters.size()) / 4.0;
    m_y_scale = metrics.height() / 8.0;
    setFixedSize(int(layout.width * m_x_scale), int(layout.height * m_y_scale));
    build(layout);
    if (layout.style & centred_on_screen) centre_on_screen();
}

void TemplateDialog::centre_on_screen() {
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
        QRect place = rect();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
}

void TemplateDialog::build(const DialogTemplate& layout) {
    auto* radio_group = new QButtonGroup(this);
    QWidget* choices = make_choice_group(layout);
    for (const ControlTemplate& item : layout.controls) {
        QWidget* parent = item.kind == ControlKind::radio_button && choices ? choices : this;
        QWidget* widget = make_control(item, parent);
        QRect place = pixels(item);
        place.moveTopLeft(parent->mapFrom(this, place.topLeft()));
        widget->setGeometry(place);
        grow_to_fit(widget);
        // An edit or list shows no text of its own that a screen reader could say.
        if (!item.spoken_name.empty()) widget->setAccessibleName(qt_text(item.spoken_name));
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) radio_group->addButton(radio);
        if (item.id != no_id) m_controls[item.id] = widget;
    }
    make_ok_the_default_if_none_is();
}

// Where the template names the radio buttons together, they stand in a group of that name that
// just covers them.
QWidget* TemplateDialog::make_choice_group(const DialogTemplate& layout) {
    if (layout.choices_name.empty()) return nullptr;
    QRect area;
    for (const ControlTemplate& item : layout.controls)
        if (item.kind == ControlKind::radio_button) area = area.united(pixels(item));
    auto* group = new ChoiceGroup(this);
    group->setGeometry(area);
    group->setAccessibleName(qt_text(layout.choices_name));
    return group;
}

// Enter means id 1 (OK) in a dialog whose template names no default button. Without this Qt
// would hand Enter to the first button it finds, which may well be Cancel.
void TemplateDialog::make_ok_the_default_if_none_is() {
    const auto buttons = findChildren<QPushButton*>();
    if (std::ranges::any_of(buttons, &QPushButton::isDefault)) return;
    if (QPushButton* ok = button(id_ok)) ok->setDefault(true);
}

QWidget* TemplateDialog::make_control(const ControlTemplate& item, QWidget* parent) {
    switch (item.kind) {
    case ControlKind::static_left:
    case ControlKind::static_centre:
    case ControlKind::static_right: return make_static(item, parent);
    case ControlKind::edit: return make_edit(item, parent);
    case ControlKind::check_box: return make_check_box(item, parent);
    case ControlKind::icon: return make_icon(item, parent);
    case ControlKind::radio_button: return new QRadioButton(qt_text(item.text), parent);
    case ControlKind::list_box: {
        QListWidget* list = make_list(item, parent);
        connect(list, &QListWidget::itemDoubleClicked, this, [this, id = item.id] { command(id); });
        return list;
    }
    case ControlKind::push_button:
    case ControlKind::default_push_button: break;
    }
    auto* button = new QPushButton(qt_text(item.text), parent);
    button->setDefault(item.kind == ControlKind::default_push_button);
    connect(button, &QPushButton::clicked, this, [this, id = item.id] { command(id); });
    return button;
}

QRect TemplateDialog::pixels(const ControlTemplate& item) const {
    return QRect(int(item.x * m_x_scale), int(item.y * m_y_scale), int(item.width * m_x_scale),
                 int(item.height * m_y_scale));
}

void TemplateDialog::command(int id) {
    const auto handler = m_handlers.find(id);
    if (handler != m_handlers.end()) return handler->second();
    if (id == id_cancel) reject();
}

void TemplateDialog::route_help(int id, Handler handler) {
    m_help_id = id;
    route(id, std::move(handler));
}

// The controls leave F1 alone, so it reaches the dialog from whichever of them has the keyboard.
void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    if (m_help_id != no_id && event->matches(QKeySequence::HelpContents)) {
        command(m_help_id);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TemplateDialog::set_static_text(int id, const QString& text) {
    QLabel* label = static_text(id);
    label->setText(text);
    grow_to_fit(label);
}

void TemplateDialog::done(int result) {
    m_ended = true;
    QDialog::done(result);
}

QWidget* TemplateDialog::control(int id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

QLineEdit* TemplateDialog::edit(int id) const { return qobject_cast<QLineEdit*>(control(id)); }
QCheckBox* TemplateDialog::check_box(int id) const { return qobject_cast<QCheckBox*>(control(id)); }
QRadioButton* TemplateDialog::radio_button(int id) const { return qobject_cast<QRadioButton*>(control(id)); }
QPushButton* TemplateDialog::button(int id) const { return qobject_cast<QPushButton*>(control(id)); }
QLabel* TemplateDialog::static_text(int id) const { return qobject_cast<QLabel*>(control(id)); }
QListWidget* TemplateDialog::list_box(int id) const { return qobject_cast<QListWidget*>(control(id)); }

}  // namespace daybrook
