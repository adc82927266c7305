// Resource numbers of the setup subsystem.
#pragma once
