// Small conversions between the program's values and UNO's: UTF-8 text, property values and
// sequences.
#pragma once

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <initializer_list>
#include <rtl/ustring.hxx>
#include <string>

namespace office {

template <typename T>
com::sun::star::uno::Sequence<T> SequenceOf(std::initializer_list<T> items) {
    return com::sun::star::uno::Sequence<T>(items.begin(), static_cast<sal_Int32>(items.size()));
}

inline rtl::OUString UnoString(const std::string& utf8) {
    return rtl::OStringToOUString(utf8.c_str(), RTL_TEXTENCODING_UTF8);
}

inline std::string Utf8(const rtl::OUString& text) {
    return std::string(rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr());
}

inline com::sun::star::beans::PropertyValue Property(const char* name,
                                                     const com::sun::star::uno::Any& value) {
    com::sun::star::beans::PropertyValue property;
    property.Name = rtl::OUString::createFromAscii(name);
    property.Value = value;
    return property;
}

}  // namespace office
