#include "office/WriterSession.h"

#include <signal.h>
#include <unistd.h>

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "automation/Error.h"
#include "office/CallDeadline.h"
#include "office/FileUrl.h"
#include "office/OfficeConfiguration.h"
#include "office/OfficeDocuments.h"
#include "office/OfficeExit.h"
#include "office/OfficeProcess.h"
#include "office/UnoValues.h"
#include "office/WriterSessionParts.h"
#include "office/loader/DocumentCheck.h"

namespace office {

using namespace com::sun::star;
using automation::Error;
using rtl::OUString;

namespace {

// The settings our own process's UNO runtime starts from: the type and service registries of
// the office in `programDir`, in an ini file of our own, so that nothing process-wide (the
// environment) has to change and each office folder gets the runtime of its own.
std::string BootstrapIni(const std::string& programDir) {
    const std::string program = FileUrlFromPath(programDir);
    const std::string text = "[Bootstrap]\nURE_INTERNAL_LIB_DIR=" + program +
                             "\nLO_LIB_DIR=" + program + "\nUNO_TYPES=" + program + "/types.rdb <" +
                             program + "/types>*\nUNO_SERVICES=" + program + "/services.rdb\n";
    const std::string path =
        ProfileRoot() + "/uno-" + std::to_string(std::hash<std::string>{}(programDir)) + ".ini";
    const std::string partial = path + "." + std::to_string(getpid());
    {
        std::ofstream out(partial, std::ios::trunc);
        out << text;
        if (!out.flush())
            throw Error("The word processor could not be started: " + path + " cannot be written.");
    }
    std::rename(partial.c_str(), path.c_str());
    return path;
}

// Our own process's UNO runtime, made once for each office folder.
uno::Reference<uno::XComponentContext> LocalContext(const std::string& programDir) {
    static std::mutex mutex;
    static std::map<std::string, uno::Reference<uno::XComponentContext>> contexts;
    std::lock_guard lock(mutex);
    auto& context = contexts[programDir];
    if (!context.is()) {
        signal(SIGPIPE, SIG_IGN);  // a dying office must not take us with it
        context = cppu::defaultBootstrap_InitialComponentContext(
            UnoString(FileUrlFromPath(BootstrapIni(programDir))));
    }
    return context;
}

std::string UniquePipeName() {
    std::random_device device;
    return "quorvane-" + std::to_string(getpid()) + "-" + std::to_string(device());
}

}  // namespace

WriterSession::WriterSession(SessionOptions options) : options_(std::move(options)) {
    connection_ = std::make_unique<Connection>();
    uno::Reference<uno::XComponentContext> local;
    try {
        local = LocalContext(options_.programDir);
    } catch (const uno::Exception& e) {
        throw Error(
            "The word processor could not be started: its runtime did not load. Install the "
            "package libreoffice-writer again.",
            Utf8(e.Message));
    }
    const std::string pipe = UniquePipeName();
    connection_->process =
        std::make_unique<OfficeProcess>(options_.programDir, pipe, options_.headless);
    auto resolver = bridge::UnoUrlResolver::create(local);
    const OUString url = UnoString("uno:pipe,name=" + pipe + ";urp;StarOffice.ComponentContext");
    const auto deadline = std::chrono::steady_clock::now() + options_.limits.start;
    std::string ends;  // how each earlier start ended, for a developer's eyes
    while (!connection_->context.is()) {
        try {
            connection_->context.set(resolver->resolve(url), uno::UNO_QUERY_THROW);
        } catch (const connection::NoConnectException&) {
            OfficeProcess& process = *connection_->process;
            if (!process.alive()) {
                // Asking to be started again is how the office finishes setting up a profile
                // (or its extensions): as often as it asks, within the time limit.
                const std::optional<int> status = process.waitStatus();
                const std::string output = process.output();
                ends += "start ended: " + EndOf(status) + "\n";
                if (!AsksForRestart(status)) {
                    throw Error(EndedWhileStarting(status, output), ends + output);
                }
                process.restart();
            }
            if (std::chrono::steady_clock::now() > deadline) {
                throw Error("The word processor could not be started: it did not answer within " +
                            std::to_string(options_.limits.start.count() / 1000) + " seconds.");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        } catch (const uno::Exception& e) {
            throw Error("The word processor could not be started.", Utf8(e.Message));
        }
    }
    guarded("starting", [&] {
        connection_->desktop = frame::Desktop::create(connection_->context);
        SetAuthor(connection_->context, author());
    });
}

WriterSession::~WriterSession() {
    if (shown_) return;  // the user's now
    try {
        quit();
    } catch (...) {
        // The process is ended below whatever happened here.
    }
}

int WriterSession::pid() const {
    return connection_->process->pid();
}

bool WriterSession::answers() {
    if (ended_ || connection_->lost || !connection_->process->alive()) return false;
    try {
        guarded("answering", options_.limits.ping, [&] { connection_->desktop->getComponents(); });
        return true;
    } catch (const Error&) {
        return false;
    }
}

void WriterSession::guarded(const std::string& doing, const std::function<void()>& call) {
    guarded(doing, options_.limits.call, call);
}

// Every call into the office: within its time limit, and every failure in our own words,
// naming what the office was doing; what the office itself said goes into the detail.
void WriterSession::guarded(const std::string& doing, std::chrono::milliseconds limit,
                            const std::function<void()>& call) {
    if (connection_->lost || ended_) {
        throw Error("The word processor is no longer running. Start the comparison again.");
    }
    auto& process = *connection_->process;
    CallDeadline deadline(limit, [&process] { process.kill(); });
    auto lost = [&]() -> Error {
        connection_->lost = true;
        process.kill();
        if (deadline.expired()) {
            return Error("The word processor did not answer within " +
                         std::to_string(limit.count() / 1000) + " seconds while " + doing +
                         ", and was stopped.");
        }
        return Error("The word processor stopped unexpectedly while " + doing + ".");
    };
    try {
        call();
    } catch (const Error&) {
        if (deadline.expired() || !process.alive()) throw lost();
        throw;
    } catch (const lang::DisposedException&) {
        throw lost();
    } catch (const uno::Exception& e) {
        if (deadline.expired() || !process.alive()) throw lost();
        throw Error("The word processor failed while " + doing + ".", Utf8(e.Message));
    }
}

ComparisonSession::DocumentRef WriterSession::open(const std::string& path) {
    auto document = std::make_shared<Document>();
    guarded("opening \"" + path + "\"", [&] {
        document->component =
            LoadCheckedDocument(connection_->desktop, path, false, document->filter);
    });
    document->path = path;
    document->url = FileUrlFromPath(AbsolutePath(path));
    return document;
}

void WriterSession::close(const DocumentRef& document) {
    if (!document || document->closed) throw Error("The document is already closed.");
    guarded("closing a document", [&] {
        uno::Reference<util::XCloseable> closeable(document->component, uno::UNO_QUERY_THROW);
        closeable->close(true);
    });
    document->closed = true;
    document->component.clear();
}

void WriterSession::show() {
    // A headless office has no screen to show anything on; it must not be left running either.
    if (options_.headless) return;
    guarded("showing the result", [&] {
        auto components = connection_->desktop->getComponents()->createEnumeration();
        while (components->hasMoreElements()) {
            uno::Reference<frame::XModel> model(components->nextElement(), uno::UNO_QUERY);
            if (!model.is() || !model->getCurrentController().is()) continue;
            auto window = model->getCurrentController()->getFrame()->getContainerWindow();
            window->setVisible(true);
            uno::Reference<awt::XTopWindow> top(window, uno::UNO_QUERY);
            if (top.is()) top->toFront();
            shown_ = true;
        }
    });
    // From the moment the user sees it, the office is theirs: it outlives this program.
    if (shown_) connection_->process->detach();
}

void WriterSession::quit() {
    if (ended_) return;
    auto& process = *connection_->process;
    if (!connection_->lost && process.alive()) {
        // Closing every document unmodified first keeps terminate() from asking to save.
        guarded("quitting", [&] {
            auto components = connection_->desktop->getComponents()->createEnumeration();
            while (components->hasMoreElements()) {
                CloseQuietly(
                    uno::Reference<lang::XComponent>(components->nextElement(), uno::UNO_QUERY));
            }
            try {
                connection_->desktop->terminate();
            } catch (const lang::DisposedException&) {
                // The bridge goes down with the office: that is the expected answer.
            }
        });
    }
    ended_ = true;
    shown_ = false;
    if (!process.waitForExit(options_.limits.quit)) process.kill();
}

void WriterSession::store(const DocumentRef& document, const std::string& path,
                          const std::string& filterName, const std::string& password) {
    guarded("storing the result as \"" + path + "\"", [&] {
        uno::Reference<frame::XStorable> storable(document->component, uno::UNO_QUERY_THROW);
        auto args = SequenceOf<beans::PropertyValue>({
            Property("FilterName", uno::Any(UnoString(filterName))),
            Property("Overwrite", uno::Any(true)),
        });
        if (!password.empty()) {
            args.realloc(args.getLength() + 1);
            args.getArray()[args.getLength() - 1] =
                Property("Password", uno::Any(UnoString(password)));
        }
        storable->storeToURL(UnoString(FileUrlFromPath(AbsolutePath(path))), args);
    });
}

std::string WriterSession::productName() {
    std::string name;
    guarded("telling its name", [&] { name = ReadProductName(connection_->context); });
    return name;
}

}  // namespace office
