#include "metrics/RequestFilter.h"

#include <CivetServer.h>
#include <civetweb.h>

#include "metrics/MetricsLog.h"

namespace {

int beginRequest(mg_connection* connection)
{
    const mg_request_info* info = mg_get_request_info(connection);
    if (!info || !info->request_method || !info->local_uri)
        return 0;
    switch (RequestFilter::decide(info->request_method, info->local_uri)) {
    case RequestFilter::Verdict::Pass:
        return 0;
    case RequestFilter::Verdict::Head:
        mg_printf(connection, "HTTP/1.1 200 OK\r\n"
                              "Content-Type: text/plain; charset=utf-8\r\n"
                              "Connection: close\r\n\r\n");
        return 200;
    case RequestFilter::Verdict::NotFound:
        mg_printf(connection, "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\n"
                              "Content-Length: 10\r\nConnection: close\r\n\r\nNot found\n");
        return 404;
    case RequestFilter::Verdict::MethodNotAllowed:
        mg_printf(connection, "HTTP/1.1 405 Method Not Allowed\r\nAllow: GET, HEAD\r\n"
                              "Content-Type: text/plain\r\nContent-Length: 19\r\n"
                              "Connection: close\r\n\r\nMethod not allowed\n");
        return 405;
    }
    return 0;
}

int logMessage(const mg_connection*, const char* message)
{
    // A client that misbehaves is not the operator's problem: debug only.
    qCDebug(lcMetrics) << "HTTP server:" << message;
    return 1;
}

} // namespace

RequestFilter::Verdict RequestFilter::decide(std::string_view method, std::string_view path)
{
    if (path != "/metrics")
        return Verdict::NotFound;
    if (method == "GET")
        return Verdict::Pass;
    if (method == "HEAD")
        return Verdict::Head;
    return Verdict::MethodNotAllowed;
}

const CivetCallbacks& RequestFilter::callbacks()
{
    static const CivetCallbacks made = [] {
        CivetCallbacks c;
        c.begin_request = beginRequest;
        c.log_message = logMessage;
        return c;
    }();
    return made;
}
