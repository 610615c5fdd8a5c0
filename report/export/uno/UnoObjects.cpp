#include "report/export/uno/UnoObjects.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/reflection/XIdlField2.hpp>
#include <com/sun/star/table/BorderLine.hpp>
#include <com/sun/star/table/TableBorder.hpp>
#include <cppu/unotype.hxx>

#include <limits>

namespace tormel::uno {

namespace {

using css::uno::Any;
using css::uno::Sequence;

OUString Utf8(std::string_view text)
{
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

std::string ToUtf8(const OUString &text)
{
    return OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

[[noreturn]] void UnknownName(std::string_view name)
{
    throw AutomationError("Неизвестное имя: " + std::string(name));
}

[[noreturn]] void Refused()
{
    throw AutomationError(CaughtExceptionText());
}

Sequence<Any> ToAnyArgs(const std::vector<AutoValue> &args)
{
    Sequence<Any> params(static_cast<sal_Int32>(args.size()));
    for (std::size_t i = 0; i < args.size(); ++i)
        params.getArray()[i] = ToAny(args[i]);
    return params;
}

// Office documents for tests are loaded hidden: the display-less office aborts
// when it has to show a new document.
Any WithHidden(const std::shared_ptr<OfficeConnection> &connection, const Any &arguments)
{
    Sequence<css::beans::PropertyValue> properties;
    connection->converter()->convertTo(arguments,
                                       cppu::UnoType<Sequence<css::beans::PropertyValue>>::get())
            >>= properties;
    const sal_Int32 count = properties.getLength();
    properties.realloc(count + 1);
    properties.getArray()[count].Name = "Hidden";
    properties.getArray()[count].Value <<= true;
    return Any(properties);
}

} // namespace

// ---- conversions ----

Any ToAny(const AutoValue &value)
{
    switch (value.type()) {
    case AutoType::Empty:
        return Any();
    case AutoType::Int:
        return Any(static_cast<sal_Int32>(value.toInt()));
    case AutoType::Bool:
        return Any(value.toBool());
    case AutoType::Double:
        return Any(value.toDouble());
    case AutoType::String:
        return Any(Utf8(value.toString()));
    case AutoType::Object: {
        const IAutoObject *object = value.toObject().get();
        if (const auto *unoObject = dynamic_cast<const UnoObject *>(object))
            return unoObject->object();
        if (const auto *unoStruct = dynamic_cast<const UnoStruct *>(object))
            return unoStruct->value();
        throw AutomationError("Объект другого сервера автоматизации нельзя передать LibreOffice.");
    }
    case AutoType::Array: {
        const AutoArray &array = value.toArray();
        if (array.dimensions() == 1) {
            Sequence<Any> items(array.count(1));
            for (int i = 0; i < array.count(1); ++i)
                items.getArray()[i] = ToAny(array.at(array.lowerBound(1) + i));
            return Any(items);
        }
        Sequence<Sequence<Any>> rows(array.count(2));
        for (int j = 0; j < array.count(2); ++j) {
            Sequence<Any> row(array.count(1));
            for (int i = 0; i < array.count(1); ++i)
                row.getArray()[i]
                        = ToAny(array.at(array.lowerBound(1) + i, array.lowerBound(2) + j));
            rows.getArray()[j] = row;
        }
        return Any(rows);
    }
    }
    return Any();
}

AutoValue FromAny(const std::shared_ptr<OfficeConnection> &connection, const Any &value)
{
    switch (value.getValueTypeClass()) {
    case css::uno::TypeClass_VOID:
        return {};
    case css::uno::TypeClass_BOOLEAN:
        return value.get<bool>();
    case css::uno::TypeClass_BYTE:
    case css::uno::TypeClass_SHORT:
    case css::uno::TypeClass_UNSIGNED_SHORT:
    case css::uno::TypeClass_LONG:
        return static_cast<int>(value.get<sal_Int32>());
    case css::uno::TypeClass_UNSIGNED_LONG:
    case css::uno::TypeClass_HYPER:
    case css::uno::TypeClass_UNSIGNED_HYPER: {
        sal_Int64 number = 0;
        if ((value >>= number) && number >= std::numeric_limits<int>::min()
            && number <= std::numeric_limits<int>::max())
            return static_cast<int>(number);
        return static_cast<double>(number);
    }
    case css::uno::TypeClass_FLOAT:
    case css::uno::TypeClass_DOUBLE:
        return value.get<double>();
    case css::uno::TypeClass_STRING:
        return ToUtf8(value.get<OUString>());
    case css::uno::TypeClass_TYPE:
        return ToUtf8(value.get<css::uno::Type>().getTypeName());
    case css::uno::TypeClass_ENUM:
        return static_cast<int>(*static_cast<const sal_Int32 *>(value.getValue()));
    case css::uno::TypeClass_INTERFACE: {
        if (!value.get<Reference<css::uno::XInterface>>().is())
            return {};
        return AutoValue(std::make_shared<UnoObject>(connection, value));
    }
    case css::uno::TypeClass_STRUCT: {
        const auto type = connection->reflection()->forName(value.getValueTypeName());
        if (!type.is())
            break;
        return AutoValue(std::make_shared<UnoStruct>(connection, value, type));
    }
    case css::uno::TypeClass_SEQUENCE: {
        Sequence<Any> items;
        connection->converter()->convertTo(value, cppu::UnoType<Sequence<Any>>::get()) >>= items;
        AutoArray array(0, items.getLength() - 1);
        for (sal_Int32 i = 0; i < items.getLength(); ++i)
            array.set(i, FromAny(connection, items[i]));
        return array;
    }
    default:
        break;
    }
    throw AutomationError("Значение типа " + ToUtf8(value.getValueTypeName())
                          + " не передаётся через автоматизацию.");
}

// ---- objects ----

UnoObject::UnoObject(std::shared_ptr<OfficeConnection> connection, Any object, bool serviceManager)
    : m_connection(std::move(connection))
    , m_object(std::move(object))
    , m_serviceManager(serviceManager)
{
    try {
        // The Invocation service makes its adapters only through this (deprecated) call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        m_invocation.set(m_connection->invocationFactory()->createInstanceWithArguments(
                                 Sequence<Any>(&m_object, 1)),
                         css::uno::UNO_QUERY_THROW);
#pragma GCC diagnostic pop
        m_exactName.set(m_invocation, css::uno::UNO_QUERY);
    } catch (const css::uno::Exception &) {
        Refused();
    }
}

UnoObject::~UnoObject() = default;

const UnoObject::Member &UnoObject::member(std::string_view name)
{
    const std::string key = LowerAscii(name);
    if (const auto it = m_members.find(key); it != m_members.end())
        return it->second;
    Member found;
    try {
        found.exactName = m_exactName.is() ? m_exactName->getExactName(Utf8(name)) : Utf8(name);
        if (!found.exactName.isEmpty()) {
            found.method = m_invocation->hasMethod(found.exactName);
            found.property = m_invocation->hasProperty(found.exactName);
        }
    } catch (const css::uno::Exception &) {
        Refused();
    }
    if (!found.method && !found.property)
        UnknownName(name);
    return m_members.emplace(key, found).first->second;
}

AutoValue UnoObject::invoke(const Member &found, const std::vector<AutoValue> &args)
{
    Sequence<Any> params = ToAnyArgs(args);
    try {
        if (m_connection->hiddenDocuments() && found.exactName == "loadComponentFromURL"
            && params.getLength() == 4)
            params.getArray()[3] = WithHidden(m_connection, params[3]);
        Sequence<sal_Int16> outIndices;
        Sequence<Any> outParams;
        return FromAny(m_connection,
                       m_invocation->invoke(found.exactName, params, outIndices, outParams));
    } catch (const css::uno::Exception &) {
        Refused();
    }
}

AutoValue UnoObject::getValue(const Member &found)
{
    try {
        return FromAny(m_connection, m_invocation->getValue(found.exactName));
    } catch (const css::uno::Exception &) {
        Refused();
    }
}

AutoValue UnoObject::call(std::string_view name, const std::vector<AutoValue> &args)
{
    if (m_serviceManager && SameMemberName(name, "Bridge_GetStruct"))
        return makeStruct(args);
    const Member &found = member(name);
    if (found.method)
        return invoke(found, args);
    if (args.empty())
        return getValue(found);
    throw AutomationError("Свойство " + std::string(name) + " не принимает параметров.");
}

AutoValue UnoObject::get(std::string_view name, const std::vector<AutoValue> &args)
{
    if (m_serviceManager && SameMemberName(name, "Bridge_GetStruct"))
        return makeStruct(args);
    const Member &found = member(name);
    if (found.property && args.empty())
        return getValue(found);
    if (found.method)
        return invoke(found, args);
    throw AutomationError("Свойство " + std::string(name) + " не принимает параметров.");
}

void UnoObject::put(std::string_view name, const AutoValue &value)
{
    const Member &found = member(name);
    if (!found.property)
        throw AutomationError("Нельзя присвоить значение методу " + std::string(name) + ".");
    const Any converted = ToAny(value);
    try {
        // The four border lines of a cell range outline the range. Calc would give
        // every cell of the range these borders, inner lines included, so the
        // outline goes through the range's TableBorder instead.
        if ((found.exactName == "LeftBorder" || found.exactName == "RightBorder"
             || found.exactName == "TopBorder" || found.exactName == "BottomBorder")
            && m_invocation->hasProperty("TableBorder")) {
            putOutline(found.exactName, converted);
            return;
        }
        m_invocation->setValue(found.exactName, converted);
    } catch (const css::uno::Exception &) {
        Refused();
    }
}

void UnoObject::putOutline(const OUString &side, const Any &line)
{
    css::table::BorderLine border;
    m_connection->converter()->convertTo(line, cppu::UnoType<css::table::BorderLine>::get())
            >>= border;
    css::table::TableBorder outline;
    m_invocation->getValue("TableBorder") >>= outline;
    if (side == "LeftBorder") {
        outline.LeftLine = border;
        outline.IsLeftLineValid = true;
    } else if (side == "RightBorder") {
        outline.RightLine = border;
        outline.IsRightLineValid = true;
    } else if (side == "TopBorder") {
        outline.TopLine = border;
        outline.IsTopLineValid = true;
    } else {
        outline.BottomLine = border;
        outline.IsBottomLineValid = true;
    }
    m_invocation->setValue("TableBorder", Any(outline));
}

AutoValue UnoObject::makeStruct(const std::vector<AutoValue> &args)
{
    if (args.size() != 1)
        throw AutomationError("Bridge_GetStruct: нужно имя структуры.");
    const std::string &typeName = args[0].toString();
    try {
        const auto type = m_connection->reflection()->forName(Utf8(typeName));
        if (!type.is() || type->getTypeClass() != css::uno::TypeClass_STRUCT)
            throw AutomationError("Неизвестная структура: " + typeName);
        Any value;
        type->createObject(value);
        return AutoValue(std::make_shared<UnoStruct>(m_connection, value, type));
    } catch (const css::uno::Exception &) {
        Refused();
    }
}

// ---- structs ----

UnoStruct::UnoStruct(std::shared_ptr<OfficeConnection> connection,
                     Any value,
                     Reference<css::reflection::XIdlClass> type)
    : m_connection(std::move(connection))
    , m_value(std::move(value))
    , m_type(std::move(type))
{}

UnoStruct::~UnoStruct() = default;

Reference<css::reflection::XIdlField2> UnoStruct::field(std::string_view name) const
{
    try {
        const auto fields = m_type->getFields();
        for (sal_Int32 i = 0; i < fields.getLength(); ++i) {
            Reference<css::reflection::XIdlField2> found(fields[i], css::uno::UNO_QUERY);
            if (found.is() && SameMemberName(ToUtf8(found->getName()), name))
                return found;
        }
    } catch (const css::uno::Exception &) {
        Refused();
    }
    UnknownName(name);
}

AutoValue UnoStruct::call(std::string_view name, const std::vector<AutoValue> &)
{
    UnknownName(name);
}

AutoValue UnoStruct::get(std::string_view name, const std::vector<AutoValue> &args)
{
    if (!args.empty())
        throw AutomationError("Поле " + std::string(name) + " не принимает параметров.");
    const auto found = field(name);
    try {
        return FromAny(m_connection, found->get(m_value));
    } catch (const css::uno::Exception &) {
        Refused();
    }
}

void UnoStruct::put(std::string_view name, const AutoValue &value)
{
    const auto found = field(name);
    try {
        // Reflection assigns only values of the field's own type.
        const auto fieldType = found->getType();
        const css::uno::Type type(fieldType->getTypeClass(), fieldType->getName());
        found->set(m_value, m_connection->converter()->convertTo(ToAny(value), type));
    } catch (const css::uno::Exception &) {
        Refused();
    }
}

} // namespace tormel::uno
