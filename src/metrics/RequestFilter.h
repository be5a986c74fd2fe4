#pragma once

#include <string_view>

struct CivetCallbacks;

// Answers what the metrics handler should never see: other paths (the HTTP
// server matches handlers by prefix, so "/metricsfoo" would be served), other
// methods, and HEAD, which the handler does not know.
class RequestFilter {
public:
    enum class Verdict { Pass, Head, NotFound, MethodNotAllowed };

    static Verdict decide(std::string_view method, std::string_view path);

    // Callbacks for the HTTP server, valid for the whole run.
    static const CivetCallbacks& callbacks();
};
