#include "office/OfficeConfiguration.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>

#include "office/UnoValues.h"

namespace office {

using namespace com::sun::star;
using rtl::OUString;

namespace {

// One node of the office's configuration tree, for reading or, with `forUpdate`, for changing.
uno::Reference<uno::XInterface> ConfigurationNode(
    const uno::Reference<uno::XComponentContext>& context, const char* path, bool forUpdate) {
    beans::NamedValue node;
    node.Name = "nodepath";
    node.Value <<= OUString::createFromAscii(path);
    return configuration::theDefaultProvider::get(context)->createInstanceWithArguments(
        forUpdate ? OUString("com.sun.star.configuration.ConfigurationUpdateAccess")
                  : OUString("com.sun.star.configuration.ConfigurationAccess"),
        SequenceOf({uno::Any(node)}));
}

}  // namespace

void SetAuthor(const uno::Reference<uno::XComponentContext>& context, const std::string& author) {
    uno::Reference<container::XNameReplace> data(
        ConfigurationNode(context, "/org.openoffice.UserProfile/Data", true), uno::UNO_QUERY_THROW);
    data->replaceByName("givenname", uno::Any(UnoString(author)));
    data->replaceByName("sn", uno::Any(OUString()));
    uno::Reference<util::XChangesBatch>(data, uno::UNO_QUERY_THROW)->commitChanges();
}

std::string ReadProductName(const uno::Reference<uno::XComponentContext>& context) {
    uno::Reference<container::XNameAccess> product(
        ConfigurationNode(context, "/org.openoffice.Setup/Product", false), uno::UNO_QUERY_THROW);
    OUString value;
    if ((product->getByName("ooName") >>= value) && !value.isEmpty()) return Utf8(value);
    return "LibreOffice";
}

}  // namespace office
