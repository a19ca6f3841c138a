#include "platform/office/OfficeConfiguration.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>

#include "platform/office/UnoValues.h"

namespace office {

using namespace com::sun::star;
using rtl::OUString;

void SetAuthor(const uno::Reference<uno::XComponentContext>& context, const std::string& author) {
    auto provider = configuration::theDefaultProvider::get(context);
    beans::NamedValue node;
    node.Name = "nodepath";
    node.Value <<= OUString("/org.openoffice.UserProfile/Data");
    const auto args = SequenceOf({uno::Any(node)});
    uno::Reference<container::XNameReplace> data(
        provider->createInstanceWithArguments(
            "com.sun.star.configuration.ConfigurationUpdateAccess", args),
        uno::UNO_QUERY_THROW);
    data->replaceByName("givenname", uno::Any(UnoString(author)));
    data->replaceByName("sn", uno::Any(OUString()));
    uno::Reference<util::XChangesBatch>(data, uno::UNO_QUERY_THROW)->commitChanges();
}

std::string ReadProductName(const uno::Reference<uno::XComponentContext>& context) {
    std::string name = "LibreOffice";
    auto provider = configuration::theDefaultProvider::get(context);
    beans::NamedValue node;
    node.Name = "nodepath";
    node.Value <<= OUString("/org.openoffice.Setup/Product");
    const auto args = SequenceOf({uno::Any(node)});
    uno::Reference<container::XNameAccess> product(
        provider->createInstanceWithArguments("com.sun.star.configuration.ConfigurationAccess",
                                              args),
        uno::UNO_QUERY_THROW);
    OUString value;
    if ((product->getByName("ooName") >>= value) && !value.isEmpty()) name = Utf8(value);
    return name;
}

}  // namespace office
