// Resource numbers of the service subsystem.
#pragma once
