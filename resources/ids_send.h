// Resource numbers of the send, save and print commands.
#pragma once
