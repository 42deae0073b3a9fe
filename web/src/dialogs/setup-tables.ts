// SPDX-License-Identifier: GPL-3.0-or-later
// The setup dialogs' fields as the desktop's dialogs have them: captions, the suggestions of each
// editable list (written with a point; shown as the locale writes numbers) and what each edits.
// The captions are the desktop's own, spelling included, so that both read alike.
import type { TrajectoryMode, TrajectoryParameters, UndulatorInput } from '../generated/halvoran-core.js';

export type TrajectoryKind = 'line' | 'dipole' | 'circle' | 'racetrack' | 'bending';

/** One row of a trajectory dialog: the box's name, the caption beside it, its suggestions and
 * the parameter it edits. */
export interface ValueBox {
  name: string;
  caption: string;
  items: string[];
  parameter: keyof TrajectoryParameters;
}

export interface TrajectoryTable {
  title: string;
  mode: TrajectoryMode;
  boxes: ValueBox[];
}

const Speeds = ['0.5', '0.6', '0.7', '0.8', '0.9', '0.95', '0.98', '0.99', '0.995', '0.999'];
const VelocityCaption = 'Particle Velocity/wave velocity';

export const TrajectoryTables: Record<TrajectoryKind, TrajectoryTable> = {
  line: {
    title: 'Straight Line',
    mode: 2,
    boxes: [
      { name: 'List_Velocity', caption: VelocityCaption, items: Speeds, parameter: 'LineBeta' },
      { name: 'List_Start', caption: 'Start Position x (u):', items: ['-1.0', '-0.8', '-0.5'],
        parameter: 'LineStartX' },
      { name: 'List_Stop', caption: 'Stop Position x (u):', items: ['0.3', '0.5', '0.8', '1.0', '1.5', '2.0'],
        parameter: 'LineStopX' },
    ],
  },
  dipole: {
    title: 'Dipole Oscillation',
    mode: 3,
    boxes: [
      { name: 'List_Velocity', caption: 'Maximum Velocity/wave velocity', items: Speeds,
        parameter: 'DipoleBeta' },
      { name: 'List_Amplitude', caption: 'Oscillation Amplitude : 2A (u)',
        items: ['0.1', '0.2', '0.3', '0.4', '0.5'], parameter: 'DipoleAmplitude' },
    ],
  },
  circle: {
    title: 'Circular Orbit',
    mode: 4,
    boxes: [
      { name: 'List_Velocity', caption: VelocityCaption, items: Speeds, parameter: 'CircleBeta' },
      { name: 'List_Radius', caption: 'Circle Radius (u)',
        items: ['0.01', '0.02', '0.05', '0.1', '0.2', '0.3', '0.4', '0.5', '0.6', '0.7', '0.8', '0.9', '1.0'],
        parameter: 'CircleRadius' },
    ],
  },
  racetrack: {
    title: 'Race Track',
    mode: 5,
    boxes: [
      { name: 'List_Velocity', caption: VelocityCaption, items: Speeds.slice(0, 8), parameter: 'RaceBeta' },
      { name: 'List_Radius', caption: 'Bending Radius (u)', items: ['0.05', '0.1', '0.2', '0.3'],
        parameter: 'RaceRadius' },
      { name: 'List_StraightSection', caption: 'Straight Section (u)', items: ['0.05', '0.1', '0.2', '0.3'],
        parameter: 'RaceStraight' },
    ],
  },
  bending: {
    title: 'Bending Magnet',
    mode: 7,
    boxes: [
      { name: 'List_Velocity', caption: VelocityCaption, items: Speeds, parameter: 'BendBeta' },
      { name: 'List_Radius', caption: 'Bending Radius (m)',
        items: ['0.5', '0.6', '0.7', '0.8', '0.9', '1.0', '2.0', '3.0', '5.0'], parameter: 'BendRadius' },
      { name: 'List_Angle', caption: 'Bending Angle (degree)',
        items: ['10', '20', '30', '40', '50', '60', '70', '80', '90'], parameter: 'BendAngle' },
    ],
  },
};

/** "Start Position x (u):" is "Start Position x (u)" in a message that goes on ": ...". */
export function messageName(caption: string): string {
  return caption.trim().replace(/[\s:;]+$/, '');
}

export const ModelSizeTable = {
  title: 'Model Size',
  rows: { name: 'List_Isize', caption: 'Number of Field Points', captionLine2: 'per Field Line',
          items: ['100', '200', '300', '400', '500', '1000', '2000'] },
  lines: { name: 'List_Jsize', caption: 'Number of Field Lines',
           items: ['10', '20', '30', '40', '50', '100', '200'] },
};

export const PlotResolutionTable = {
  title: 'Plot Resolution',
  name: 'List_Resolution',
  caption: 'Plot Resolution (pixel)',
  items: ['10', '20', '30', '40', '50', '100'],
};

export const PhysicalModelTable = {
  title: 'Physical Model',
  checks: [
    { name: 'LightAbberationCheck', caption: 'Light Aberration', option: 'LightAberration' },
    { name: 'TrackEmissionPointCheck', caption: 'Track Emission Point', option: 'TrackEmissionPoint' },
    { name: 'ThomasPrecessionCheck', caption: 'Thomas Precession', option: 'ThomasPrecession',
      tip: 'Turns the emission directions with the rest frame of the charge, which precesses when ' +
           'its path bends, so that the field lines of a curved motion follow the exact field.' },
  ],
} as const;

export const ZoomSetupTable = {
  title: 'Zoom View Setup Dialog',
  group: 'Tracking Mode',
  // In the desktop's order; Tracking is off 0, particle motion 1, initial velocity 2.
  choices: [
    { name: 'rbtnTrackParticle', caption: 'on Particle Motion', tracking: 1 },
    { name: 'rbtnTrackInitialVel', caption: 'on Initial Velocity', tracking: 2 },
    { name: 'rbtnTrackOFF', caption: 'Tracking OFF', tracking: 0 },
  ],
} as const;

export interface UndulatorBox {
  input: UndulatorInput;
  name: string;
  caption: string;
  /** The symbol picture beside the caption, a file of assets/, and the text it shows. */
  symbol?: string;
  alt?: string;
  items: string[];
}

export interface UndulatorLabel {
  derived: 'Gamma' | 'RadWavelengthUm' | 'MaxAngle' | 'AmplitudeM';
  name: string;
  caption: string;
  symbol: string;
  alt: string;
}

// The two framed groups top to bottom; a pair whose partners are worked out from each other
// (β with E, K with Bu) is bracketed.
export const UndulatorTable = {
  title: 'Undulator',
  electron: [
    { input: 'Beta', name: 'List_beta', caption: 'Electron Velocity/Light velocity', symbol: 'symbol-beta.jpg', alt: 'β',
      items: ['0.5', '0.7', '0.8', '0.9', '0.95', '0.98', '0.99'] },
    { input: 'Energy', name: 'List_Energy', caption: 'Electron Energy   : E (MeV)',
      items: ['0.1', '0.2', '0.3', '0.5', '0.8', '1', '1.5', '2', '5', '10'] },
    { derived: 'Gamma', name: 'LabelGamma', caption: 'Relativistic Electron Energy', symbol: 'symbol-gamma.jpg', alt: 'γ' },
  ] as (UndulatorBox | UndulatorLabel)[],
  undulator: [
    { input: 'Period', name: 'List_Lu', caption: 'Undulator Wavelength :', symbol: 'symbol-lambda-u.jpg', alt: 'λu (cm)',
      items: ['0.5', '1', '2', '5', '10', '20', '30'] },
    { derived: 'RadWavelengthUm', name: 'LabelLrad', caption: 'Radiation Wavelength :',
      symbol: 'symbol-lambda-rad.jpg', alt: 'λrad (µm)' },
    { input: 'Periods', name: 'List_Np', caption: 'Number of Periods : N', items: ['1', '2', '5', '10'] },
    { input: 'K', name: 'List_K', caption: 'K-Parameter', items: ['0.1', '0.2', '0.5', '1', '2', '5', '10'] },
    { input: 'Field', name: 'List_Bu', caption: 'Peak Magnetic Field Strength : Bu (kG)',
      items: ['0.1', '0.2', '0.5', '1', '2', '5', '10'] },
    // φ = K / γ in radians, the unit its symbol picture names.
    { derived: 'MaxAngle', name: 'LabelMaxAngle', caption: 'Maximum Orbit Angle :', symbol: 'symbol-phi.jpg', alt: 'φ (rad)' },
    { derived: 'AmplitudeM', name: 'LabelAmplitude', caption: 'Oscillation Amplitude :', symbol: 'symbol-a.jpg', alt: 'a (m)' },
  ] as (UndulatorBox | UndulatorLabel)[],
  /** The first input of each bracketed pair. */
  linked: ['Beta', 'K'] as UndulatorInput[],
};

export const SpeedTable = { title: 'Wave Speed', slow: 'Slow', fast: 'Fast', least: 1, most: 10 };
