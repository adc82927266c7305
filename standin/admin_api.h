#pragma once
// The loopback admin interface (JSON) and the phone inbox pages.
namespace httplib {
class Server;
}

namespace pagelark::standin {

class StandinServer;
void RegisterAdminRoutes(httplib::Server& server, StandinServer& standin);

}  // namespace pagelark::standin
