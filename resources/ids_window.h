// Resource numbers of the window subsystem.
#pragma once
