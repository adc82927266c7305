// Resource and control numbers shared by the .rc scripts and the code. The numbers are an
// interface (other programs and stored settings rely on several of them): never renumber.
#pragma once
#include "ids_app.h"
#include "ids_service.h"
#include "ids_numbers.h"
#include "ids_window.h"
#include "ids_send.h"
#include "ids_setup.h"
#include "ids_addressbooks.h"
#include "ids_outlook.h"
