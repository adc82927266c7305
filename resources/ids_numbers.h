// Resource numbers of the numbers subsystem.
#pragma once
