#include "tools/compressor_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>
#include <string>

namespace lumora {
namespace {

bool Editable(const GParamSpec* param) {
    const GParamFlags flags = param->flags;
    return (flags & G_PARAM_READABLE) && (flags & G_PARAM_WRITABLE) && !(flags & G_PARAM_CONSTRUCT_ONLY) &&
           !(flags & G_PARAM_DEPRECATED) && param->owner_type != GST_TYPE_OBJECT;
}

// The integer range of a property when it fits a spin box.
bool IntRange(GParamSpec* param, int* minimum, int* maximum) {
    long long low = 0;
    long long high = 0;
    if (G_IS_PARAM_SPEC_INT(param)) {
        low = G_PARAM_SPEC_INT(param)->minimum;
        high = G_PARAM_SPEC_INT(param)->maximum;
    } else if (G_IS_PARAM_SPEC_UINT(param)) {
        low = G_PARAM_SPEC_UINT(param)->minimum;
        high = G_PARAM_SPEC_UINT(param)->maximum;
    } else if (G_IS_PARAM_SPEC_LONG(param)) {
        low = G_PARAM_SPEC_LONG(param)->minimum;
        high = G_PARAM_SPEC_LONG(param)->maximum;
    } else if (G_IS_PARAM_SPEC_INT64(param)) {
        low = G_PARAM_SPEC_INT64(param)->minimum;
        high = G_PARAM_SPEC_INT64(param)->maximum;
    } else {
        return false;
    }
    if (low < INT_MIN || high > INT_MAX) return false;
    *minimum = static_cast<int>(low);
    *maximum = static_cast<int>(high);
    return true;
}

bool IsNumber(GType type) {
    switch (G_TYPE_FUNDAMENTAL(type)) {
        case G_TYPE_INT:
        case G_TYPE_UINT:
        case G_TYPE_LONG:
        case G_TYPE_ULONG:
        case G_TYPE_INT64:
        case G_TYPE_UINT64: return true;
        default: return false;
    }
}

QString Serialized(const GValue& value) {
    gchar* text = gst_value_serialize(&value);
    QString result = QString::fromUtf8(text ? text : "");
    g_free(text);
    return result;
}

QWidget* EnumEditor(GParamSpec* param, const GValue& current) {
    auto* box = new QComboBox;
    GEnumClass* values = G_PARAM_SPEC_ENUM(param)->enum_class;
    for (guint i = 0; i < values->n_values; ++i) {
        const GEnumValue& entry = values->values[i];
        box->addItem(QString::fromUtf8(entry.value_name), QString::fromUtf8(entry.value_nick));
        if (entry.value == g_value_get_enum(&current)) box->setCurrentIndex(static_cast<int>(i));
    }
    return box;
}

QWidget* NumberEditor(GParamSpec* param, const GValue& current) {
    int minimum = 0;
    int maximum = 0;
    if (!IntRange(param, &minimum, &maximum)) return new QLineEdit(Serialized(current));
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    GValue number = G_VALUE_INIT;
    g_value_init(&number, G_TYPE_INT64);
    g_value_transform(&current, &number);
    box->setValue(static_cast<int>(g_value_get_int64(&number)));
    g_value_unset(&number);
    return box;
}

QWidget* RealEditor(GParamSpec* param, const GValue& current) {
    auto* box = new QDoubleSpinBox;
    box->setDecimals(3);
    if (G_IS_PARAM_SPEC_FLOAT(param)) {
        box->setRange(G_PARAM_SPEC_FLOAT(param)->minimum, G_PARAM_SPEC_FLOAT(param)->maximum);
        box->setValue(g_value_get_float(&current));
    } else {
        box->setRange(G_PARAM_SPEC_DOUBLE(param)->minimum, G_PARAM_SPEC_DOUBLE(param)->maximum);
        box->setValue(g_value_get_double(&current));
    }
    return box;
}

// The editor's value as text that gst_util_set_object_arg reads.
QString EditorText(const QWidget* editor) {
    if (auto* check = qobject_cast<const QCheckBox*>(editor)) return check->isChecked() ? "true" : "false";
    if (auto* spin = qobject_cast<const QSpinBox*>(editor)) return QString::number(spin->value());
    if (auto* real = qobject_cast<const QDoubleSpinBox*>(editor)) return QString::number(real->value(), 'g', 10);
    if (auto* combo = qobject_cast<const QComboBox*>(editor)) return combo->currentData().toString();
    if (auto* line = qobject_cast<const QLineEdit*>(editor)) return line->text();
    return {};
}

// Whether `text` sets the property to something other than its default.
bool DiffersFromDefault(GParamSpec* param, const QString& text) {
    const GValue* fallback = g_param_spec_get_default_value(param);
    if (G_IS_PARAM_SPEC_STRING(param)) {
        const char* standard = g_value_get_string(fallback);
        return text != QString::fromUtf8(standard ? standard : "");
    }
    GValue value = G_VALUE_INIT;
    g_value_init(&value, param->value_type);
    const QByteArray utf8 = text.toUtf8();
    const bool parsed = gst_value_deserialize_with_pspec(&value, utf8.constData(), param);
    const bool differs = parsed && g_param_values_cmp(param, &value, fallback) != 0;
    g_value_unset(&value);
    return differs;
}

}  // namespace

CompressorDialog::CompressorDialog(GstElement* element, const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    auto* form = new QFormLayout;
    guint count = 0;
    GParamSpec** params = g_object_class_list_properties(G_OBJECT_GET_CLASS(element), &count);
    for (guint i = 0; i < count; ++i) {
        GParamSpec* param = params[i];
        if (!Editable(param)) continue;
        GValue current = G_VALUE_INIT;
        g_value_init(&current, param->value_type);
        g_object_get_property(G_OBJECT(element), param->name, &current);
        QWidget* editor = MakeEditor(param, current);
        g_value_unset(&current);
        if (editor == nullptr) continue;
        editor->setObjectName(QString::fromUtf8(param->name));
        editor->setToolTip(QString::fromUtf8(g_param_spec_get_blurb(param)));
        form->addRow(QString::fromUtf8(g_param_spec_get_nick(param)), editor);
        rows_.push_back({param, editor});
    }
    g_free(params);

    auto* fields = new QWidget;
    fields->setLayout(form);
    auto* scroll = new QScrollArea;
    scroll->setWidget(fields);
    scroll->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
}

QWidget* CompressorDialog::MakeEditor(GParamSpec* param, const GValue& current) {
    if (G_IS_PARAM_SPEC_BOOLEAN(param)) {
        auto* check = new QCheckBox;
        check->setChecked(g_value_get_boolean(&current));
        return check;
    }
    if (G_IS_PARAM_SPEC_ENUM(param)) return EnumEditor(param, current);
    if (IsNumber(param->value_type)) return NumberEditor(param, current);
    if (G_IS_PARAM_SPEC_FLOAT(param) || G_IS_PARAM_SPEC_DOUBLE(param)) return RealEditor(param, current);
    if (G_IS_PARAM_SPEC_STRING(param)) {
        const char* text = g_value_get_string(&current);
        return new QLineEdit(QString::fromUtf8(text ? text : ""));
    }
    if (G_IS_PARAM_SPEC_FLAGS(param)) return new QLineEdit(Serialized(current));
    return nullptr;
}

CompressorList::Settings CompressorDialog::ChosenSettings() const {
    CompressorList::Settings settings;
    for (const Row& row : rows_) {
        const QString text = EditorText(row.editor);
        if (DiffersFromDefault(row.param, text)) settings.emplace_back(row.param->name, text.toStdString());
    }
    return settings;
}

bool ShowCompressorDialog(CompressorList& list, int index, QWidget* owner) {
    GstElement* element = list.CreateCompressor(index);
    if (element == nullptr) return false;
    gst_object_ref_sink(element);
    bool shown = false;
    {
        CompressorDialog dialog(element, QString::fromStdString(list.NameAt(index)), owner);
        if (dialog.PropertyCount() > 0) {
            shown = true;
            if (dialog.exec() == QDialog::Accepted) list.SetSettings(index, dialog.ChosenSettings());
        }
    }
    gst_object_unref(element);
    return shown;
}

}  // namespace lumora
